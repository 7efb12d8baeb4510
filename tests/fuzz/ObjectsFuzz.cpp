// The image-set and object-definition loaders on any text. An input holding
// the line "%%" gives the image set what comes before it and the object
// definition what follows; any other input is read by both. The object is
// then placed in a world and stepped: its body must stay finite.
// Image sets load their atlas as a texture, so this target needs a display
// (make fuzz runs it on a private Xvfb).

#include "FuzzSupport.h"

#include "world/ImageSets.h"
#include "world/Map.h"
#include "world/MapPhysics.h"
#include "world/ObjectDefs.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <box2d/box2d.h>

#include <cmath>
#include <filesystem>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchDir();
    std::filesystem::create_directories("Data/Images");
    sf::Image atlas;
    atlas.create(64, 32, sf::Color(200, 100, 50));
    if (!atlas.saveToFile("Data/Images/Fuzz.png"))
        fuzz::fail("cannot write the atlas");
    // The GL driver is loaded with SFML's first texture and unloaded with
    // its last, keeping a few bytes each time, which the leak check then
    // cannot name. One texture held to the very end (never destroyed) keeps
    // it loaded, so its bytes are named and suppressed like the rest.
    static sf::Texture* const keepDriverLoaded = new sf::Texture;
    keepDriverLoaded->create(1, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::restartLog();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find("\n%%\n");
    fuzz::writeText("Data/Images/Fuzz.ini", split == std::string::npos ? text : text.substr(0, split));
    fuzz::writeText("Data/Objects/Fuzz.ob", split == std::string::npos ? text : text.substr(split + 4));

    imageSetTextures.clear();
    textureImages.clear();
    objectDefs.clear();
    loadImageSet("Data/Images/Fuzz.ini");
    for (const TextureImage& image : textureImages) {
        const sf::IntRect r = image.sprite.getTextureRect();
        FUZZ_CHECK(r.width >= 0 && r.height >= 0, "image " + image.name + " has a negative size");
    }
    loadObjectDef("Data/Objects/Fuzz.ob");
    FUZZ_CHECK(objectDefs.size() == 1, "a readable definition was not added");
    const ObjectDef& def = objectDefs.back();
    FUZZ_CHECK(std::isfinite(def.mass) && def.mass >= 0.0f, "mass");
    FUZZ_CHECK(std::isfinite(def.objectScale), "objectScale");
    FUZZ_CHECK(std::isfinite(def.size.x) && std::isfinite(def.size.y), "size");

    resetPhysicsWorld();
    MapObject object;
    object.definition = 0;
    object.position = sf::Vector2f(100.f, 100.f);
    createObjectBody(object);
    object.body->ApplyLinearImpulseToCenter(b2Vec2(1.0f, 0.5f), true);
    for (int i = 0; i < 10; ++i)
        physicsWorld->Step(1.0f / 60.0f, 8, 3);
    const b2Vec2 p = object.body->GetPosition();
    FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(object.body->GetAngle()),
               "object body went to NaN");
    return 0;
}
