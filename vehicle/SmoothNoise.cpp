#include "vehicle/SmoothNoise.h"

#include <cmath>

namespace {

// Fixed pseudo-random bytes: the same wobble on every run and machine.
const unsigned char noiseTable[256] = {
    208, 34, 231, 213, 32, 248, 233, 56, 172, 132, 76, 187, 188, 171, 8, 118,
    155, 63, 25, 208, 183, 153, 43, 93, 63, 15, 103, 167, 1, 120, 153, 154,
    212, 205, 107, 236, 191, 211, 126, 28, 132, 189, 142, 193, 116, 111, 77, 219,
    28, 192, 15, 168, 207, 185, 48, 212, 225, 169, 30, 59, 92, 31, 148, 166,
    106, 5, 171, 8, 121, 127, 184, 190, 218, 23, 74, 38, 129, 134, 5, 232,
    135, 69, 44, 122, 160, 178, 224, 239, 192, 24, 39, 147, 113, 80, 252, 210,
    95, 94, 145, 29, 26, 228, 171, 36, 192, 190, 212, 50, 147, 1, 184, 98,
    85, 111, 165, 75, 208, 38, 177, 162, 217, 141, 40, 21, 211, 243, 152, 152,
    125, 212, 83, 45, 155, 155, 113, 88, 222, 196, 190, 98, 216, 236, 13, 126,
    3, 54, 186, 68, 161, 176, 121, 232, 218, 11, 31, 55, 224, 94, 14, 16,
    142, 27, 214, 145, 103, 0, 229, 145, 94, 93, 130, 194, 21, 84, 50, 3,
    171, 76, 146, 53, 167, 254, 189, 176, 129, 191, 111, 71, 200, 179, 80, 137,
    5, 247, 162, 204, 35, 124, 205, 221, 135, 148, 145, 85, 239, 247, 236, 183,
    165, 158, 5, 61, 36, 1, 86, 3, 214, 4, 154, 206, 91, 138, 152, 46,
    84, 15, 62, 231, 24, 38, 180, 68, 118, 242, 163, 72, 38, 253, 150, 53,
    207, 228, 172, 250, 38, 254, 243, 185, 253, 48, 237, 3, 179, 103, 236, 156,
};

int wrap256(long long n)
{
    return static_cast<int>(((n % 256) + 256) % 256);
}

} // namespace

float smoothNoise(double x, double y, double frequency)
{
    double X = x * frequency;
    double Y = y * frequency;
    double amplitude = 1.0;
    double total = 0.0;
    double norm = 0.0;
    for (int octave = 0; octave < 4; ++octave) {
        norm += amplitude * 256.0;
        const double floorX = std::floor(X);
        const double floorY = std::floor(Y);
        // Far outside the table's period the cell number only needs to wrap.
        const long long ix = std::isfinite(floorX) && std::fabs(floorX) < 9.0e18 ? static_cast<long long>(floorX) : 0;
        const long long iy = std::isfinite(floorY) && std::fabs(floorY) < 9.0e18 ? static_cast<long long>(floorY) : 0;
        const double fx = X - floorX;
        const double fy = Y - floorY;
        const int r0 = noiseTable[wrap256(iy + 10)];
        const int r1 = noiseTable[wrap256(iy + 11)];
        const double c00 = noiseTable[wrap256(r0 + ix)];
        const double c10 = noiseTable[wrap256(r0 + ix + 1)];
        const double c01 = noiseTable[wrap256(r1 + ix)];
        const double c11 = noiseTable[wrap256(r1 + ix + 1)];
        const double sx = fx * fx * (3.0 - 2.0 * fx);
        const double sy = fy * fy * (3.0 - 2.0 * fy);
        const double top = c00 + (c10 - c00) * sx;
        const double bottom = c01 + (c11 - c01) * sx;
        total += (top + (bottom - top) * sy) * amplitude;
        amplitude *= 0.5;
        X *= 2.0;
        Y *= 2.0;
    }
    const float result = static_cast<float>(total / norm);
    return std::isfinite(result) ? result : 0.0f;
}
