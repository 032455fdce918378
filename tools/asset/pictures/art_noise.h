// Deterministic noise and colour helpers for the procedural art. Every function is pure: the
// same seed and coordinates give the same value on every run. The 2D noises are periodic with a
// whole-number period in lattice cells, so a picture sampled over one period tiles seamlessly.
#pragma once

#include <cstdint>

namespace tam::asset::art {

// 32-bit integer hash of a seed and up to three lattice coordinates.
uint32_t HashCell(uint32_t seed, int x, int y, int z = 0);
// The hash as a float in [0, 1).
float HashUnit(uint32_t seed, int x, int y, int z = 0);

// Gradient noise in about [-1, 1] at (x, y), repeating every `period` units on both axes
// (period >= 1).
float PeriodicNoise(uint32_t seed, float x, float y, int period);
// The same with separate periods along x and along y (streaks, wood grain).
float PeriodicNoise(uint32_t seed, float x, float y, int periodX, int periodY);
// Fractal sum of PeriodicNoise: octave k has period period << k and weight gain^k; the result is
// normalised to about [-1, 1]. (u, v) in [0, 1) covers exactly one tile.
float TileFbm(uint32_t seed, float u, float v, int period, int octaves, float gain = 0.5f);
float TileFbm(uint32_t seed, float u, float v, int periodX, int periodY, int octaves,
              float gain = 0.5f);
// Like TileFbm, but sums 1 - |noise| (sharp ridges, cracks); result in about [0, 1].
float TileRidged(uint32_t seed, float u, float v, int period, int octaves, float gain = 0.5f);

// Cellular noise over a tile: distances to the nearest and second-nearest feature point, in
// cell units, with `period` x `period` cells (one jittered point per cell) across the tile.
struct CellDistance {
    float nearest = 0.f;
    float second = 0.f;
    uint32_t cellId = 0;  // hash of the nearest point's cell, stable per cell
};
CellDistance TileCells(uint32_t seed, float u, float v, int period);

// Gradient noise in 3D (no period), about [-1, 1], and its fractal sum.
float Noise3(uint32_t seed, float x, float y, float z);
float Fbm3(uint32_t seed, float x, float y, float z, int octaves, float gain = 0.5f);

// Colour in linear 0..1 floats and small helpers.
struct Rgb {
    float r = 0.f, g = 0.f, b = 0.f;
};
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb c, float k);
Rgb FromBytes(int r, int g, int b);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);
// Writes the colour as 8-bit RGB with alpha 255 (rounded, clamped).
void StoreRgb(uint8_t* pixel, Rgb c);

}  // namespace tam::asset::art
