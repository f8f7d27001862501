#pragma once

#include <cstdint>

// The keys by name, as the key handlers receive them and Keyboard::isKeyPressed
// asks for them: GLFW's key codes, so that the key tables and their users need
// no GLFW.
namespace Key
{
inline constexpr std::int16_t space = 32;

inline constexpr std::int16_t digit0 = 48;
inline constexpr std::int16_t digit1 = 49;
inline constexpr std::int16_t digit2 = 50;
inline constexpr std::int16_t digit3 = 51;
inline constexpr std::int16_t digit4 = 52;
inline constexpr std::int16_t digit5 = 53;
inline constexpr std::int16_t digit6 = 54;
inline constexpr std::int16_t digit7 = 55;
inline constexpr std::int16_t digit8 = 56;
inline constexpr std::int16_t digit9 = 57;

inline constexpr std::int16_t a = 65;
inline constexpr std::int16_t b = 66;
inline constexpr std::int16_t c = 67;
inline constexpr std::int16_t d = 68;
inline constexpr std::int16_t e = 69;
inline constexpr std::int16_t f = 70;
inline constexpr std::int16_t g = 71;
inline constexpr std::int16_t h = 72;
inline constexpr std::int16_t i = 73;
inline constexpr std::int16_t j = 74;
inline constexpr std::int16_t k = 75;
inline constexpr std::int16_t l = 76;
inline constexpr std::int16_t m = 77;
inline constexpr std::int16_t n = 78;
inline constexpr std::int16_t o = 79;
inline constexpr std::int16_t p = 80;
inline constexpr std::int16_t q = 81;
inline constexpr std::int16_t r = 82;
inline constexpr std::int16_t s = 83;
inline constexpr std::int16_t t = 84;
inline constexpr std::int16_t u = 85;
inline constexpr std::int16_t v = 86;
inline constexpr std::int16_t w = 87;
inline constexpr std::int16_t x = 88;
inline constexpr std::int16_t y = 89;
inline constexpr std::int16_t z = 90;

inline constexpr std::int16_t escape = 256;
inline constexpr std::int16_t enter = 257;
inline constexpr std::int16_t right = 262;
inline constexpr std::int16_t left = 263;
inline constexpr std::int16_t down = 264;
inline constexpr std::int16_t up = 265;

inline constexpr std::int16_t f1 = 290;
inline constexpr std::int16_t f2 = 291;
inline constexpr std::int16_t f3 = 292;
inline constexpr std::int16_t f4 = 293;
inline constexpr std::int16_t f5 = 294;
inline constexpr std::int16_t f6 = 295;
inline constexpr std::int16_t f7 = 296;
inline constexpr std::int16_t f8 = 297;
inline constexpr std::int16_t f9 = 298;
inline constexpr std::int16_t f10 = 299;
inline constexpr std::int16_t f11 = 300;
inline constexpr std::int16_t f12 = 301;

inline constexpr std::int16_t keypad0 = 320;
inline constexpr std::int16_t keypad1 = 321;
inline constexpr std::int16_t keypad2 = 322;
inline constexpr std::int16_t keypad3 = 323;
inline constexpr std::int16_t keypad4 = 324;
inline constexpr std::int16_t keypad5 = 325;
inline constexpr std::int16_t keypad6 = 326;
inline constexpr std::int16_t keypad7 = 327;
inline constexpr std::int16_t keypad8 = 328;
inline constexpr std::int16_t keypad9 = 329;
inline constexpr std::int16_t keypadEnter = 335;

inline constexpr std::int16_t leftShift = 340;
}
