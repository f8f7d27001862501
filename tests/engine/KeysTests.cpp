#include "engine/Keys.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
// The names stand for GLFW's codes, which the key callback passes on as they come.
TEST(KeysTest, EveryNamedKeyIsGlfwsCode)
{
    const std::vector<std::pair<std::int16_t, int>> keys{
        {Key::space, GLFW_KEY_SPACE}, {Key::digit0, GLFW_KEY_0}, {Key::digit1, GLFW_KEY_1},
        {Key::digit2, GLFW_KEY_2}, {Key::digit3, GLFW_KEY_3}, {Key::digit4, GLFW_KEY_4}, {Key::digit5, GLFW_KEY_5},
        {Key::digit6, GLFW_KEY_6}, {Key::digit7, GLFW_KEY_7}, {Key::digit8, GLFW_KEY_8}, {Key::digit9, GLFW_KEY_9},
        {Key::a, GLFW_KEY_A}, {Key::b, GLFW_KEY_B}, {Key::c, GLFW_KEY_C}, {Key::d, GLFW_KEY_D}, {Key::e, GLFW_KEY_E},
        {Key::f, GLFW_KEY_F}, {Key::g, GLFW_KEY_G}, {Key::h, GLFW_KEY_H}, {Key::i, GLFW_KEY_I}, {Key::j, GLFW_KEY_J},
        {Key::k, GLFW_KEY_K}, {Key::l, GLFW_KEY_L}, {Key::m, GLFW_KEY_M}, {Key::n, GLFW_KEY_N}, {Key::o, GLFW_KEY_O},
        {Key::p, GLFW_KEY_P}, {Key::q, GLFW_KEY_Q}, {Key::r, GLFW_KEY_R}, {Key::s, GLFW_KEY_S}, {Key::t, GLFW_KEY_T},
        {Key::u, GLFW_KEY_U}, {Key::v, GLFW_KEY_V}, {Key::w, GLFW_KEY_W}, {Key::x, GLFW_KEY_X}, {Key::y, GLFW_KEY_Y},
        {Key::z, GLFW_KEY_Z}, {Key::escape, GLFW_KEY_ESCAPE}, {Key::enter, GLFW_KEY_ENTER},
        {Key::right, GLFW_KEY_RIGHT}, {Key::left, GLFW_KEY_LEFT}, {Key::down, GLFW_KEY_DOWN}, {Key::up, GLFW_KEY_UP},
        {Key::f1, GLFW_KEY_F1}, {Key::f2, GLFW_KEY_F2}, {Key::f3, GLFW_KEY_F3}, {Key::f4, GLFW_KEY_F4},
        {Key::f5, GLFW_KEY_F5}, {Key::f6, GLFW_KEY_F6}, {Key::f7, GLFW_KEY_F7}, {Key::f8, GLFW_KEY_F8},
        {Key::f9, GLFW_KEY_F9}, {Key::f10, GLFW_KEY_F10}, {Key::f11, GLFW_KEY_F11}, {Key::f12, GLFW_KEY_F12},
        {Key::keypad0, GLFW_KEY_KP_0}, {Key::keypad1, GLFW_KEY_KP_1}, {Key::keypad2, GLFW_KEY_KP_2},
        {Key::keypad3, GLFW_KEY_KP_3}, {Key::keypad4, GLFW_KEY_KP_4}, {Key::keypad5, GLFW_KEY_KP_5},
        {Key::keypad6, GLFW_KEY_KP_6}, {Key::keypad7, GLFW_KEY_KP_7}, {Key::keypad8, GLFW_KEY_KP_8},
        {Key::keypad9, GLFW_KEY_KP_9}, {Key::keypadEnter, GLFW_KEY_KP_ENTER}, {Key::leftShift, GLFW_KEY_LEFT_SHIFT}};
    for (const auto& [named, glfw] : keys)
    {
        EXPECT_EQ(named, glfw);
    }
}
}
