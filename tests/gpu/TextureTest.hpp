#pragma once

#include "gpu/GpuHarness.hpp"
#include "graphics/Texture.hpp"

// A container whose textures are released after each test.
class TextureTest : public GpuTest
{
protected:
    void TearDown() override
    {
        destroyTextures(container);
        GpuTest::TearDown();
    }

    TextureContainer container{&system, {}, {}};
};
