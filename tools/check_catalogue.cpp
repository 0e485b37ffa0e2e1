// Build-time check of a catalogue (po/LANG.po): every character of every
// translation of a text on the screen must have a glyph in code page 437, the
// screen's font, and no such translation may hold a control character, which
// would move the cursor of the label it is printed in. The page's own texts
// (those only web/ uses) are the browser's to show. Names the catalogue, the
// line and the character of each fault and fails the build.
//
//   check_catalogue po/fr.po

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "gfx/input/input.h"

namespace {

// The text between a line's first and last quote, escapes resolved.
std::string quoted(const std::string& line) {
    const size_t open = line.find('"');
    const size_t close = line.rfind('"');
    std::string text;
    if (open == std::string::npos || close <= open) return text;
    for (size_t i = open + 1; i < close; ++i) {
        char c = line[i];
        if (c == '\\' && i + 1 < close) {
            c = line[++i];
            if (c == 'n') c = '\n';
            if (c == 't') c = '\t';
        }
        text += c;
    }
    return text;
}

// Answers the number of faults on this line of the catalogue.
int32_t check_text(const char* catalogue, int32_t line_number, const std::string& text) {
    int32_t faults = 0;
    for (size_t at = 0; at < text.size();) {
        size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        const std::string character = text.substr(at, length);
        uint8_t byte = 0;
        const int32_t written = utf8_to_cp437(character.c_str(), &byte, 1);
        if (written != 1 || byte < 0x20 || byte == 0x7F) {
            const std::string shown =
                byte < 0x20 && written == 1 ? "a control character" : "'" + character + "'";
            std::fprintf(stderr, "%s:%d: %s has no glyph in code page 437, the screen's font\n",
                         catalogue, line_number, shown.c_str());
            ++faults;
        }
        at += length;
    }
    return faults;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_catalogue LANG.po\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    int32_t faults = 0;
    int32_t line_number = 0;
    // Which part of an entry the quoted lines continue; the header (the
    // translation of the empty id) is not shown on screen.
    enum class Part { OTHER, ID, TRANSLATION } part = Part::OTHER;
    std::string id;
    bool header = false;
    // Whether the entry's texts reach the screen: some location outside web/.
    bool on_screen = false;
    bool located = false;
    for (std::string line; std::getline(in, line);) {
        ++line_number;
        if (line.rfind("#: ", 0) == 0) {
            if (!located) on_screen = false;
            located = true;
            for (size_t at = 3; at < line.size();) {
                const size_t end = std::min(line.find(' ', at), line.size());
                if (line.compare(at, 4, "web/") != 0) on_screen = true;
                at = end + 1;
            }
        } else if (line.rfind("msgid ", 0) == 0) {
            if (!located) on_screen = true;
            located = false;
            part = Part::ID;
            id = quoted(line);
        } else if (line.rfind("msgstr", 0) == 0) {
            part = Part::TRANSLATION;
            header = id.empty();
        } else if (!line.empty() && line[0] == '"') {
            if (part == Part::ID) id += quoted(line);
        } else {
            part = Part::OTHER;
        }
        if (part == Part::TRANSLATION && !header && on_screen)
            faults += check_text(argv[1], line_number, quoted(line));
    }
    return faults == 0 ? 0 : 1;
}
