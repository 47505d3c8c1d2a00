// The message catalog of the player's language, and the text form the bitmap font draws.
#include "core/Language.h"

#include <libintl.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr const char* Domain = "larkmere";
}

const char* tr(const char* text) { return dgettext(Domain, text); }

std::string formatText(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, pattern, args);
    va_end(args);
    std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(text.data(), text.size() + 1, pattern, again);
    va_end(again);
    return text;
}

void startLanguage(const std::string& folder) {
    // Only the messages: LC_ALL would also switch LC_NUMERIC, and the OBJ reader, the records
    // file and the clocks read and write numbers in one form whatever the player's locale.
    std::setlocale(LC_MESSAGES, "");
    if (!folder.empty()) bindtextdomain(Domain, folder.c_str());
    // The font converts from UTF-8 itself; terminals take it as it is.
    bind_textdomain_codeset(Domain, "UTF-8");
}

std::string catalogFolder(const char* buildTree, const std::string& dataFolder, const std::string& executableDir) {
    namespace fs = std::filesystem;
    std::vector<fs::path> places;
    if (buildTree != nullptr) places.push_back(fs::path(buildTree) / "locale");
    // Installed data lies in share/larkmere or share/games/larkmere, the catalogs in share/locale.
    if (!dataFolder.empty()) {
        for (const char* place : {"locale", "../locale", "../../locale"}) places.push_back(fs::path(dataFolder) / place);
    }
    if (!executableDir.empty()) places.push_back(fs::path(executableDir) / "../share/locale");
    std::error_code error;
    for (const fs::path& place : places) {
        if (fs::is_directory(place, error)) return place.lexically_normal().string();
    }
    return "";
}

std::string toLatin1(const std::string& utf8, bool* complete) {
    std::string text;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            text += static_cast<char>(byte);
            continue;
        }
        // U+0080 to U+00FF are the two-byte sequences C2 80 to C3 BF; anything else is not in the font.
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if ((byte == 0xC2 || byte == 0xC3) && (next & 0xC0) == 0x80) {
            text += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
            ++i;
            continue;
        }
        while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
        text += '?';
        if (complete != nullptr) *complete = false;
    }
    return text;
}
