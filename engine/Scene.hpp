#pragma once

class GraphicsSystem;
class SceneManager;

// One screen of the game. Operations report failure by logging an error.
class Scene
{
public:
    virtual ~Scene() = default;
    // Creates the scene's resources; runs on the first activation only.
    virtual void load() = 0;
    // Installs the scene's input handlers and cursor mode; runs on every activation.
    virtual void initialise() = 0;
    virtual void update() = 0;
    virtual void render() = 0;
    // Releases what load created.
    virtual void unload() = 0;
};
