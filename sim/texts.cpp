#include "sim/texts.h"

#include <clocale>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "gfx/input/input.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include <libintl.h>
#endif

// Texts are translated on first use and kept in code page 437: a frame that
// prints a text it printed before allocates nothing for it.

#ifdef __EMSCRIPTEN__
// In the browser the page has chosen the language and holds its catalogue
// (page_texts.js, made from the same po/): its translate function answers
// into out, with the length of its text, or -1 where it has no other text
// (or one longer than capacity).
// clang-format off
EM_JS(int, page_translation, (const char* german, char* out, int capacity), {
    var translate = Module["translate"];
    if (!translate) return -1;
    var text = UTF8ToString(german);
    var own = translate(text);
    if (typeof own !== "string" || own === text) return -1;
    var length = lengthBytesUTF8(own);
    if (length >= capacity) return -1;
    stringToUTF8(own, out, capacity);
    return length;
});
// clang-format on
#endif

namespace {

bool translating = false;
std::map<std::string, std::string, std::less<>> shown;

int32_t places(std::string_view text) {
    int32_t count = 0;
    for (size_t at = text.find("%s"); at != std::string_view::npos; at = text.find("%s", at + 2))
        ++count;
    return count;
}

int32_t characters(std::string_view utf8) {
    int32_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// The code page 437 bytes of utf8 into out; false when a character has no
// glyph there, or is a control character, which would move the cursor of the
// label's print.
bool to_screen_bytes(const char* utf8, std::string& out) {
    const std::string_view text = utf8;
    out.assign(text.size(), '\0');
    const int32_t written = utf8_to_cp437(utf8, reinterpret_cast<uint8_t*>(out.data()),
                                          static_cast<int32_t>(out.size()));
    out.resize(static_cast<size_t>(written));
    for (const char c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    }
    return written == characters(text);
}

// The translation of german into out; false where there is none.
bool translation_of(const char* german, std::string& out) {
    if (!translating) return false;
#ifdef __EMSCRIPTEN__
    char own[1024];
    const int length = page_translation(german, own, sizeof own);
    if (length < 0) return false;
    out.assign(own, static_cast<size_t>(length));
    return true;
#else
    const char* own = dgettext(TEXT_DOMAIN, german);
    if (own == german) return false;
    out = own;
    return true;
#endif
}

}  // namespace

void choose_language(const char* folder) {
    shown.clear();
    translating = false;
    if (folder == nullptr) return;
#ifndef __EMSCRIPTEN__
    // A locale the machine has not generated stays unset: German.
    if (std::setlocale(LC_MESSAGES, "") == nullptr) std::setlocale(LC_MESSAGES, "C");
    bindtextdomain(TEXT_DOMAIN, folder);
    bind_textdomain_codeset(TEXT_DOMAIN, "UTF-8");
#endif
    translating = true;
}

std::string_view screen_text(const char* german) {
    if (const auto hit = shown.find(std::string_view(german)); hit != shown.end())
        return hit->second;
    std::string text;
    std::string bytes;
    if (!translation_of(german, text) || text.empty() || places(text) != places(german) ||
        !to_screen_bytes(text.c_str(), bytes))
        to_screen_bytes(german, bytes);
    return shown.emplace(german, std::move(bytes)).first->second;
}

std::string title_text(const char* german) {
    std::string text;
    return translation_of(german, text) && !text.empty() ? text : german;
}

std::string fill_in(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    auto value = values.begin();
    for (size_t at = 0; at < text.size();) {
        const size_t place = text.find("%s", at);
        out.append(text.substr(at, place - at));
        if (place == std::string_view::npos) break;
        if (value != values.end()) out.append(*value++);
        at = place + 2;
    }
    return out;
}
