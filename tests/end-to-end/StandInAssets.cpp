// Writes the stand-in assets into the Assets/ folder given as the only
// argument, keeping the files already there.
#include "support/StandInAssets.hpp"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "Usage: %s <Assets folder>\n", argc > 0 ? argv[0] : "kelvane_stand_in_assets");
        return 2;
    }
    if (!writeStandInAssets(argv[1]))
    {
        std::fprintf(stderr, "The stand-in assets could not be written.\n");
        return 1;
    }
    return 0;
}
