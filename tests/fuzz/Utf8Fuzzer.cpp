#include "engine/ScreenMaths.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>

// Whatever the bytes, the decoder yields only Unicode scalar values and never
// more code points than bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u32string decoded = toUtf32(std::string(reinterpret_cast<const char*>(data), size));
    if (decoded.size() > size)
    {
        std::abort();
    }
    for (const char32_t codePoint : decoded)
    {
        if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        {
            std::abort();
        }
    }
    return 0;
}
