// The view animations and screen transitions of the script commands
// INTERPOLANGLE, INTERPOLZOOM, INTERPOLANGLEZOOM, FADE and TRANSFADE. Each
// runs its own frames (draw, printed text, frame hooks, sound service,
// show) until it ends; no cursor, input or zone test meanwhile. Steps are
// (Frame_Ms x speed) >> 4, at least 1, so that every animation ends.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct Engine;

void Interpolate_Angle(Engine& engine, int32_t pitch, int32_t yaw, int32_t speed);
void Interpolate_Zoom(Engine& engine, int32_t degrees, int32_t speed);
void Interpolate_Angle_Zoom(Engine& engine, int32_t pitch, int32_t yaw, int32_t degrees, int32_t speed);
void Fade(Engine& engine, int32_t from, int32_t to, int32_t speed);
void Transfade(Engine& engine, int32_t speed);

// The pixel operations on RGB565, with guard bits between the channels.
uint16_t Brightness(uint16_t pixel, int32_t level);
uint16_t Saturating_Sum(uint16_t a, uint16_t b);
void Brightness(std::span<const uint16_t> source, int32_t level, std::span<uint16_t> dest);
void Saturating_Sum(std::span<const uint16_t> a, std::span<const uint16_t> b, std::span<uint16_t> dest);

// Ease_Table[4095 - i] = 1 - i^2 / 16777216.
std::vector<float> Ease_Table();
// The shortest way from `from` to `to` on the circle, both masked to 13
// bits: one of them is moved up a turn when they are more than half a turn
// apart.
void Shortest_Way(int32_t& from, int32_t& to);
