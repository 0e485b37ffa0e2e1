#pragma once

// The runtime: services every layer of the program may use, with no
// dependency of their own.
//
// Usage:
//   runtime_start(argc, argv, 0);  // once, from main
//   double t = timer_seconds();    // seconds since the first reading
//   sleep_ms(20);                  // a pause (a screen's variant while one is open)
//   StringDescriptor* s = string_temp("Spalte", 6);  // byte strings and number texts
//   const uint8_t bytes[5] = {0, 1, 0, 0, 0};
//   int32_t v = load_unaligned<int32_t>(bytes + 1);  // a value at any address
//
// Sections: byte strings, dynamic arrays, number texts, the clock and pauses,
// program arguments, the process state record (runtime_reset() for tests),
// the error number, unaligned access.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <span>
#include <string>

// A byte string. data is nullptr for the empty string; otherwise the bytes are
// followed by a 0 byte that length does not count. capacity is the room in the
// buffer, the 0 byte not counted.
struct StringDescriptor {
    uint8_t* data = nullptr;
    int32_t length = 0;
    int32_t capacity = 0;
    // A result of a conversion or of string_temp: the operation that consumes
    // it releases it (a view made by string_temp owns no bytes).
    bool temporary = false;
    bool owns_data = false;
};

// The size argument that marks a string argument as a descriptor; any other
// size is the declared size of a plain byte array (a literal's size counts its
// terminating 0).
constexpr int32_t STRING_DESCRIPTOR = -1;

// String arguments are (pointer, size) pairs: size STRING_DESCRIPTOR means the
// pointer is a StringDescriptor*, any other size is the declared size of a plain
// byte array. A null pointer, or a size below STRING_DESCRIPTOR, is the empty
// string. A temporary descriptor passed as an argument is released by the
// operation that takes it; a nullptr result of a conversion is the empty string.

// The bytes an argument stands for; does not release anything.
struct StringBytes {
    const uint8_t* data = nullptr;
    int32_t length = 0;
};
StringBytes string_bytes(const void* s, int32_t size);

// Copies the source into the variable (an empty source frees its bytes).
// Memory that cannot be had leaves the variable empty.
void string_assign(StringDescriptor& destination, const void* source, int32_t source_size);

// Appends the source to the variable. When the longer string cannot be had
// (no memory, or more than INT32_MAX bytes) the variable keeps its contents.
void string_concat(StringDescriptor& destination, const void* source, int32_t source_size);

// -1, 0 or 1 by unsigned bytes, a shorter prefix first.
int32_t string_compare(const void* a, int32_t a_size, const void* b, int32_t b_size);

int32_t string_length(const void* s, int32_t size);

// A temporary view of the bytes, which are not copied and never freed by it.
StringDescriptor* string_temp(const void* bytes, int32_t length);

// Frees the variable's bytes and leaves it empty.
void string_erase(StringDescriptor& s);

// Releases s if it is a temporary; a variable or nullptr is left alone.
void string_release_temp(const StringDescriptor* s);

// A new temporary holding a copy of the bytes; nullptr when memory cannot be
// had. For the number conversions.
StringDescriptor* string_new_temp(const char* bytes, int32_t length);

constexpr int32_t ARRAY_MAX_DIMENSIONS = 8;

struct ArrayDimension {
    int32_t count = 0;
    int32_t lower = 0;
    int32_t upper = 0;
};

// A dynamic array. The first subscript varies fastest: the element with
// subscripts (i1, i2, ...) has the linear index i1 + count1 * (i2 + count2 *
// (...)) and lies at origin + index * element_size.
struct ArrayDescriptor {
    // The address that linear index 0 would have. It usually lies outside the
    // block (before it, for positive lower bounds), so it is kept as an integer
    // and computed modulo the address width: adding index * element_size in
    // the same arithmetic lands on the element.
    std::uintptr_t origin = 0;
    uint8_t* data = nullptr;
    int32_t total_bytes = 0;
    int32_t element_size = 0;
    int32_t dimension_count = 0;
    std::array<ArrayDimension, ARRAY_MAX_DIMENSIONS> dimensions{};
};

// Replaces the array's contents by a new block of element_size bytes per
// element, with the bounds given as a lower and an upper bound per dimension.
// Returns and stores in last_error: 0; 1 for reversed bounds, a bound list that
// does not hold dimension_count pairs, no or more than ARRAY_MAX_DIMENSIONS
// dimensions, or an element size below 1; 4 when the memory cannot be had or
// the block would exceed INT32_MAX bytes. On failure the array is empty.
// destroy_old (and destroy in array_erase) says the elements are string
// variables (such an array is created zero-filled, so every element starts as
// the empty string), whose bytes are freed first; it is ignored for elements
// of any other size.
int32_t array_create(ArrayDescriptor& array, int32_t element_size, bool zero_fill, bool destroy_old,
                     int32_t dimension_count, std::span<const int32_t> bounds);

void array_erase(ArrayDescriptor& array, bool destroy);

// Numbers as new temporary strings, released by the operation that consumes
// them; nullptr (the empty string) when memory cannot be had. In number text
// mode 2 a number of 0 or more gets a leading blank.

StringDescriptor* int_to_text(int32_t value);
StringDescriptor* uint_to_text(uint32_t value);

// 7 significant digits, rounded half up on the decimal digits of the exact
// value; fixed form for 0.1 <= |x| < 10^7, otherwise exponent form such as
// "1.234568e+010" (at least three exponent digits). Trailing fraction zeros
// and a point left at the end are dropped. NaN gives "nan", infinities "inf"
// and "-inf".
StringDescriptor* single_to_text(float value);

// The same with 16 significant digits and 0.1 <= |x| < 10^16 for fixed form.
StringDescriptor* double_to_text(double value);

// Seconds from an arbitrary fixed origin (the clock's first reading in this
// process); only differences are meaningful.
double timer_seconds();

// Pauses n milliseconds; n = -1 waits until a key arrives. While a graphics
// screen exists its own variant runs, which a key press can cut short.
void sleep_ms(int32_t n);

// The routine sleep_ms hands over to; nullptr selects the text variant.
using SleepRoutine = void (*)(int32_t n);
void set_sleep_routine(SleepRoutine routine);

// One uninterrupted operating-system pause.
void os_pause(int32_t ms);

// The pause both variants of sleep_ms share: n = -1 waits until key_seen()
// answers true; n >= 100 ends as soon as key_seen() answers true until its
// last 50 ms step begins (where a look every 50 ms would have looked last),
// and the rest is one uninterrupted pause, taken for n = 0 too when
// pause_zero is set. key_seen reads and clears its flag. The waits block
// until a key push wakes them (wait_for_key, 50 ms steps under a pause seam).
void interruptible_pause(int32_t n, bool (*key_seen)(), bool pause_zero);

// Waits for a key: answers true as soon as ready() does, which it asks at
// once and again whenever a key push (key_wake_signal) wakes it, and false
// once ms milliseconds have passed without (ms < 0: no limit). ready() must
// see every key whose push signals; it may take the screen lock, and the
// caller must not hold it, since the thread that delivers keys needs it. A
// push between ready()'s answer and the sleep still wakes the wait, and a
// wake-up that brought no key for ready() only sends it back to sleep.
// While a pause seam is installed the wait is played out as the polling it
// replaces: ready(), a seam pause of step_ms (at most the time left),
// ready(), and so on, so that tests count its steps and push keys in them.
bool wait_for_key(int32_t ms, bool (*ready)(), int32_t step_ms);

// A key has arrived: wakes every wait_for_key. Whoever stores a key calls it
// after storing (the window's key buffer under the screen lock, the text
// console).
void key_wake_signal();

// The clock and the pause as one seam, so that tests can play out waits and
// the frame pacing without waiting. A nullptr member stands for the system's
// own routine. Returns the seam in place before.
using ClockRoutine = double (*)();
using PauseRoutine = void (*)(int32_t ms);
struct TimeSeam {
    ClockRoutine clock;
    PauseRoutine pause;
};
TimeSeam set_time_seam(TimeSeam seam);

// (The state behind these is runtime_state; runtime_reset() puts it back as a
// fresh process has it.)

// Raises the text console's key-arrived flag, which the text variant of
// sleep_ms reads and clears (nothing raises it while the program has no console).
void text_console_key_arrived();

// Clock source of timer_seconds: 0 not yet chosen, 1 millisecond ticks, 2 counter.
int32_t timer_source();
// Forces the millisecond tick source, as when no fine counter is available.
void timer_force_ticks();

// What the process was started with, handed over once by the program's entry.
struct ProgramArgs {
    int argc = 0;
    char** argv = nullptr;
};

// Stores the argument vector and the number text mode (0: numbers get no
// leading blank and image blocks get the 32-byte header).
void runtime_start(int argc, char** argv, int32_t text_mode);

const ProgramArgs& program_args();

// The number text mode given at start-up.
int32_t number_text_mode();

// The program file's name without directory, at most 127 characters, cut at
// its last "." ("mehrfachspalt" for /usr/bin/mehrfachspalt).
std::string program_title();

// Everything the runtime keeps for the whole process, in one record: the
// clock's choice and origin, the seams through which tests play out time,
// the sleep routine a screen installs, the argument vector and the error
// number. The runtime's operations (timing.cpp, program_args.cpp,
// runtime_state.cpp) are thin functions over it; runtime_reset() puts it
// back as a fresh process has it.
struct RuntimeState {
    // The clock, chosen once on its first reading. The window thread may read
    // it beside the main thread, so the choice is published through source
    // after period and origin are set.
    std::atomic<int32_t> clock_source{0};  // 0 not yet chosen, 1 ticks, 2 counter
    double counter_period = 0.0;           // seconds per counter unit
    int64_t clock_origin = 0;              // first reading, in counter units or ticks
    std::mutex clock_choice_lock;

    // Seams: nullptr stands for the system's own routine.
    std::atomic<ClockRoutine> clock_routine{nullptr};
    std::atomic<PauseRoutine> pause_routine{nullptr};
    std::atomic<SleepRoutine> sleep_routine{nullptr};
    // Set by a console that sees a key arrive; read and cleared by the text sleep.
    std::atomic<bool> text_key_arrived{false};
    // Counts key pushes, so that a wait can tell a push that came after it
    // looked from one it has seen; guarded by wake_lock. Only its changes
    // mean anything, so runtime_reset leaves it (and a sleeping wait) alone.
    uint64_t key_pushes = 0;
    std::mutex wake_lock;
    std::condition_variable key_pushed;

    ProgramArgs args;
    int32_t text_mode = 0;
    int32_t last_error = 0;
};

extern RuntimeState runtime_state;

// Back to a fresh process: clock not yet chosen, no seams, no sleep routine,
// no key arrived, no arguments, text mode 0, no error. For test fixtures.
void runtime_reset();

// Process-wide error number of the last service that can fail.
// 0 none, 1 illegal argument, 4 out of memory.
inline constexpr int32_t& last_error = runtime_state.last_error;

constexpr int32_t ERROR_NONE = 0;
constexpr int32_t ERROR_ILLEGAL_ARGUMENT = 1;
constexpr int32_t ERROR_OUT_OF_MEMORY = 4;

// Values at any byte address. Image blocks lie anywhere in caller memory,
// their rows start wherever the pitch puts them, and page buffers are byte
// arrays, so every wider read or write goes through a copy, which compilers
// turn into one plain load or store.

template <typename T>
inline T load_unaligned(const uint8_t* address) {
    T value;
    std::memcpy(&value, address, sizeof(T));
    return value;
}

template <typename T>
inline void store_unaligned(uint8_t* address, T value) {
    std::memcpy(address, &value, sizeof(T));
}
