#pragma once

#include "tools/assets/Synthesis.hpp"

// The race's music: the main theme of Smetana's Vltava (public domain), in E
// minor and then in E major, over a rippling harp and a bass, as a stereo
// track that loops without a break.
LoopTrack renderRiverTheme();
