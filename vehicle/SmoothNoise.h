#pragma once
// Smooth two-dimensional value noise of four octaves over a fixed table:
// a slow, repeatable wobble (the engine sound's pitch).

/// A value in [0, 1) that changes smoothly with x and y.
float smoothNoise(double x, double y, double frequency);
