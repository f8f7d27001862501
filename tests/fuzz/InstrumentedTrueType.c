// The sanitizer build's own copy of the packaged rasteriser, compiled from
// the packaged header so that its reads and writes are instrumented too.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
