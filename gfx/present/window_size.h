#pragma once

// The window's size bookkeeping, apart from any display library: what a
// driver's window reports goes in as events, what to ask of the window comes
// out. It decides the size full screen returns to (and, where nobody else
// places the window, the place), whatever order the window manager's answers
// come in.

#include <cstdint>

#include "gfx/present/present.h"

// How long after the program left full screen (or last corrected the size)
// a different size still counts as the window manager's late answer, and
// how often it is corrected: afterwards a new size is the user's, and a
// window manager that insists wins.
constexpr uint64_t WINDOW_RESTORE_PATIENCE_MS = 1000;
constexpr int32_t WINDOW_RESTORE_ATTEMPTS = 3;
// However the window manager holds on to its state, late answers end this
// long after leaving full screen.
constexpr uint64_t WINDOW_RESTORE_LIMIT_MS = 5000;
// How long before its state arrives a window manager may show the steps of
// a maximise (fluxbox grows the window in height, then in width).
constexpr uint64_t WINDOW_MAXIMISE_LEAD_MS = 1000;
// Sizes kept to take a maximise's steps back.
constexpr int32_t WINDOW_SIZE_HISTORY = 6;
// Sizes kept that the window went through while maximised or full screen.
constexpr int32_t WINDOW_HELD_SIZES = 8;
// How far a window manager's late answer may miss the size to return to in
// each direction (a frame's title bar or border). A size further off that
// the window never had while maximised or full screen is the user's own.
constexpr int32_t WINDOW_FRAME_SLACK = 32;

enum class WindowSizeEventKind : uint8_t {
    client_size,     // the display reports the client area at `rect`
    maximised,       // the window manager's maximised or full-screen state arrived
    unmaximised,     // ... and left
    fullscreen_on,   // the program went full screen (`places_itself`: nobody else does)
    fullscreen_off,  // the program left full screen
};

struct WindowSizeEvent {
    WindowSizeEventKind kind = WindowSizeEventKind::client_size;
    PresentRect rect;  // the client area now (its place 0, 0 where unknown)
    bool places_itself = false;
    uint64_t now = 0;  // milliseconds on a steady clock
};

struct WindowSizeState {
    bool fullscreen = false;
    bool maximised = false;
    bool places_itself = false;
    PresentRect remembered;  // where full screen returns to; w 0 while unknown
    // The sizes remembered lately, oldest first, and when each was.
    PresentRect history[WINDOW_SIZE_HISTORY];
    uint64_t history_at[WINDOW_SIZE_HISTORY] = {};
    int32_t history_count = 0;
    // The sizes the window had while maximised or full screen, the steps of
    // a maximise included: the window manager's late answers.
    PresentRect held[WINDOW_HELD_SIZES];
    int32_t held_count = 0;
    uint64_t restore_until = 0;  // 0 while no late answer is expected
    uint64_t restore_limit = 0;
    int32_t restore_attempts = 0;
};

struct WindowSizeDecision {
    bool request_size = false;   // ask for `rect`'s size ...
    bool request_place = false;  // ... and its place as well
    PresentRect rect;
};

struct WindowSizeStep {
    WindowSizeState state;
    WindowSizeDecision decision;
};

// The state after an event, and what to ask of the window.
WindowSizeStep window_size_step(const WindowSizeState& state, const WindowSizeEvent& event);
