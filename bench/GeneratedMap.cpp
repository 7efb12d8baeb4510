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

std::string writeDistrictMap(const std::string& path, int districts, int sectorsPerDistrict, int districtSide,
                             unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> pos(0.0f, static_cast<float>(districtSide));
    std::uniform_real_distribution<float> size(100.0f, 800.0f);
    std::uniform_real_distribution<float> skew(-0.3f, 0.3f);
    struct Quad {
        float x, y, w, h, k;
    };
    std::vector<Quad> district;
    for (int s = 0; s < sectorsPerDistrict; ++s)
        district.push_back({pos(rng), pos(rng), size(rng), size(rng), skew(rng)});

    // Districts sit 1000 pixels apart, more than any sector is wide.
    const float pitch = static_cast<float>(districtSide) + 1000.0f;
    const float width = pitch * static_cast<float>(districts), height = pitch;
    std::string verts, body;
    int v = 0, sector = 0;
    auto vertex = [&](float x, float y) {
        verts += "pos" + std::to_string(v) + "=" + std::to_string(x) + "," + std::to_string(y) + "\n";
        return v++;
    };
    body += "[sector0]\nverts=" + std::to_string(vertex(0, 0)) + "," + std::to_string(vertex(width, 0)) + "," +
            std::to_string(vertex(width, height)) + "," + std::to_string(vertex(0, height)) + "\n";
    ++sector;
    for (int d = 0; d < districts; ++d) {
        const float dx = pitch * static_cast<float>(d);
        for (const Quad& q : district) {
            const float x = q.x + dx;
            const int a = vertex(x, q.y), b = vertex(x + q.w, q.y + q.k * q.h),
                      c = vertex(x + q.w + q.k * q.w, q.y + q.h), e = vertex(x, q.y + q.h);
            body += "[sector" + std::to_string(sector) + "]\nverts=" + std::to_string(a) + "," + std::to_string(b) +
                    "," + std::to_string(c) + "," + std::to_string(e) + "\npassable=" + std::to_string(sector % 4) +
                    "\n";
            ++sector;
        }
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "[header]\nsectorsCount=" << sector << "\nvertsCount=" << v
                        << "\nobjectsCount=0\nmapSize=" << static_cast<int>(width) << "," << static_cast<int>(height)
                        << "\n[startZones]\nrect0=0,0,64,64\n[verts]\n"
                        << verts << body;
    return path;
}
