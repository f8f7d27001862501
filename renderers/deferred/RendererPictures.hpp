#pragma once

// The pictures the deferred renderer reads itself, under "Assets/": the
// ocean's wave normals (both wave layers read the one picture) and the
// look-up table of the split-sum specular term. The asset generator writes
// them at these paths.
inline constexpr const char* oceanWavesFile = "ZavikDemoScene/Textures/Wave B.png";
inline constexpr const char* brdfTableFile = "ZavikDemoScene/Textures/tex_brdflut.png";
