#pragma once

#include <filesystem>

// Small pictures, sky faces and models at the paths the menu and the trophy
// scene read, so the scene tests do not hang on the generated art. The
// background is dark blue with a light title bar across its top fifth; the
// goblets are square cups, so a turn shows; the badges and HUD pictures are
// plain colours, one per layer. False when a file cannot be written.
bool writeStandInAssets(const std::filesystem::path& assets);
