#include "engine/Log.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Pipeline2.hpp"
#include "renderers/ParticleSystem.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <stb_image_write.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
using ParticleSystemTest = GpuTest;

// Particles at rest on the emitter that keep their size and alpha through a long life.
ParticleEmitter restingEmitter(float x, float alpha)
{
    return {0.2f, alpha, 1.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0.0f, false, glm::vec3(x, 0.0f, 0.0f), glm::vec3(0.0f), 0.0f};
}

TEST_F(ParticleSystemTest, InitialiseStopsAtAMissingFileAndLiveParticlesAreDrawnAsUprightQuadsBlendedOverTheFrame)
{
    TemporaryFolder folder;
    Pipeline2 fill(&system);
    ASSERT_TRUE(createFillPipeline(fill));
    // Initialise stops at a missing shader or texture; a system without pipeline draws nothing.
    ParticleSystem withoutShaders(&system);
    {
        StdoutCapture capture;
        EXPECT_FALSE(withoutShaders.initialise("Smoke.png"));
        EXPECT_EQ(capture.messages().back(), "FAIL!");
    }
    EXPECT_TRUE(presentFrame(system, [&](const FrameInfo& frame) {
        recordFill(fill, frame);
        withoutShaders.recordDraw(frame);
    }));
    system.waitIdle();
    withoutShaders.destroy();
    std::filesystem::create_directory_symlink(KELVANE_ASSETS_DIR, "Assets");
    ParticleSystem withoutTexture(&system);
    {
        StdoutCapture capture;
        EXPECT_FALSE(withoutTexture.initialise("Missing.png"));
        EXPECT_EQ(capture.messages().back(), "error in Texture loading");
    }
    withoutTexture.destroy();
    resetErrorFlagForTesting();

    // Opaque, red above and blue below.
    std::vector<std::uint32_t> pixels(16, 0xff0000ffu);
    std::fill(pixels.begin() + 8, pixels.end(), 0xffff0000u);
    ASSERT_NE(stbi_write_png("Smoke.png", 4, 4, 4, pixels.data(), 16), 0);

    ParticleSystem particles(&system);
    {
        StdoutCapture capture;
        ASSERT_TRUE(particles.initialise("Smoke.png"));
        EXPECT_EQ(capture.messages(),
                  (std::vector<std::string>{"creating particle Pipeline", "creating textures and Mesh",
                                            "load Particle Texture", "SUCCESS!", "Particle System init complete!"}));
    }
    EXPECT_EQ(particles.addEmitter(restingEmitter(-0.5f, 1.0f), 3), 0);
    EXPECT_EQ(particles.addEmitter(restingEmitter(0.0f, 1.0f), 2), 1);
    EXPECT_EQ(particles.addEmitter(restingEmitter(0.5f, 0.5f), 1), 2);
    for (std::int32_t refused : {0, -3, 0x7fffffff})
    {
        EXPECT_EQ(particles.addEmitter(restingEmitter(0.0f, 1.0f), refused), -1);
    }
    for (std::int32_t index : {0, 2, 3, -1})
    {
        particles.setEmitterActive(index, true);
    }
    particles.update(0.01f);
    EXPECT_EQ(particles.meshes[0]->instanceCount, 3u);
    // The camera's flip of Y, and depth inside the clip range.
    glm::mat4 projection = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 0.5f));
    projection[1][1] = -1.0f;
    particles.setMatrices(glm::mat4(1.0f), projection);

    const FrameRecorder record = [&](const FrameInfo& frame) {
        recordFill(fill, frame);
        particles.recordDraw(frame);
    };
    // Quads of 32 x 24 pixels around x = 40, 80 (never active) and 120 (half transparent), y = 60.
    expectWindowShows(system, record,
                      {{40, 54, {255, 0, 0}},
                       {40, 66, {0, 0, 255}},
                       {80, 60, fillColour},
                       {120, 54, {255, 64, 32}},
                       {120, 66, {128, 64, 160}}});

    // The stopped emitter draws its survivors until their life is over; an unknown one is not moved.
    system.waitIdle();
    particles.setEmitterActive(0, false);
    particles.setEmitter(7, glm::vec3(0.0f), glm::vec3(0.0f), 1.0f);
    particles.update(150.0f);
    EXPECT_EQ(particles.meshes[0]->instanceCount, 3u);
    particles.update(0.01f);
    EXPECT_EQ(particles.meshes[0]->instanceCount, 0u);

    system.waitIdle();
    destroyPipeline2(fill);
    particles.destroy();
    particles.update(0.01f);
    EXPECT_FALSE(hasErrors());
}
}
