#include "GeneratedMap.h"

#include <filesystem>
#include <fstream>
#include <random>

std::string generatedMapText(int sectors, int objects, int mapSide, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> pos(0.0f, static_cast<float>(mapSide));
    std::uniform_real_distribution<float> size(100.0f, 800.0f);
    std::uniform_real_distribution<float> skew(-0.3f, 0.3f);
    std::string verts, body;
    int v = 0;
    auto vertex = [&](float x, float y) {
        verts += "pos" + std::to_string(v) + "=" + std::to_string(x) + "," + std::to_string(y) + "\n";
        return v++;
    };
    const float side = static_cast<float>(mapSide);
    body += "[sector0]\nverts=" + std::to_string(vertex(0, 0)) + "," + std::to_string(vertex(side, 0)) + "," +
            std::to_string(vertex(side, side)) + "," + std::to_string(vertex(0, side)) + "\n";
    for (int s = 1; s < sectors; ++s) {
        const float x = pos(rng), y = pos(rng), w = size(rng), h = size(rng), k = skew(rng);
        const int a = vertex(x, y), b = vertex(x + w, y + k * h), c = vertex(x + w + k * w, y + h),
                  d = vertex(x, y + h);
        body += "[sector" + std::to_string(s) + "]\nverts=" + std::to_string(a) + "," + std::to_string(b) + "," +
                std::to_string(c) + "," + std::to_string(d) + "\npassable=" + std::to_string(s % 4) + "\n";
    }
    for (int o = 0; o < objects; ++o)
        body += "[object" + std::to_string(o) + "]\nobjectType=Crate.ob\npos=" + std::to_string(pos(rng)) + "," +
                std::to_string(pos(rng)) + "\n";
    return "[header]\nsectorsCount=" + std::to_string(sectors) + "\nvertsCount=" + std::to_string(v) +
           "\nobjectsCount=" + std::to_string(objects) + "\nmapSize=" + std::to_string(mapSide) + "," +
           std::to_string(mapSide) + "\n[startZones]\nrect0=0,0,64,64\n[verts]\n" + verts + body;
}

std::string writeGeneratedMap(const std::string& path, int sectors, int objects, int mapSide, unsigned seed)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << generatedMapText(sectors, objects, mapSide, seed);
    return path;
}
