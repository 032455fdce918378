// Compiling the text form of a map into its binary file and writing the text of a binary file.
#include "world/map_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "world/map.h"

namespace tam {
namespace {

constexpr int kMaxCount = 127;
const std::array<const char*, 10> kBoxFields = {"x1", "y1", "z1", "x2", "y2",
                                                "z2", "nx", "ny", "nz", "texture"};

struct Token {
    std::string text;
    bool quoted = false;
};

// The words of one line: '#' outside quotes starts a comment; a quoted word keeps its escapes
// for later decoding. False (with a message) for an unterminated quote.
bool SplitLine(std::string_view line, std::vector<Token>& out, std::string& message) {
    out.clear();
    size_t i = 0;
    while (i < line.size()) {
        const char ch = line[i];
        if (ch == ' ' || ch == '\t' || ch == '\r') {
            ++i;
        } else if (ch == '#') {
            break;
        } else if (ch == '"') {
            size_t j = i + 1;
            while (j < line.size() && line[j] != '"') j += (line[j] == '\\') ? 2 : 1;
            if (j >= line.size()) {
                message = "unterminated quoted name";
                return false;
            }
            out.push_back({std::string(line.substr(i + 1, j - i - 1)), true});
            i = j + 1;
        } else {
            size_t j = i;
            while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r' &&
                   line[j] != '#')
                ++j;
            out.push_back({std::string(line.substr(i, j - i)), false});
            i = j;
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool DecodeName(std::string_view s, std::string& out, std::string& message) {
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out.push_back(s[i]);
            continue;
        }
        if (i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out.push_back(s[++i]);
            continue;
        }
        if (i + 3 < s.size() && s[i + 1] == 'x' && HexDigit(s[i + 2]) >= 0 &&
            HexDigit(s[i + 3]) >= 0) {
            const int v = HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]);
            if (v == 0) {
                message = "name: a zero byte would end the name";
                return false;
            }
            out.push_back(static_cast<char>(v));
            i += 3;
            continue;
        }
        message = "name: unknown escape (use \\\\, \\\" or \\xHH)";
        return false;
    }
    return true;
}

std::string EncodeName(std::string_view name) {
    std::string out = "\"";
    for (const char ch : name) {
        const auto b = static_cast<uint8_t>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20 || b >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// The message for a texture field whose number names no world texture.
std::string UnknownTexture(std::string_view field, const std::string& number) {
    return std::string(field) + ": unknown texture index " + number + " (world textures are 0..7)";
}

// A whole decimal number within [lo, hi]; otherwise a message naming `field`.
bool ParseNumber(const Token& t, std::string_view field, int lo, int hi, int& value,
                 std::string& message) {
    const std::string& s = t.text;
    size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    bool ok = !t.quoted && i < s.size() && s.size() - i <= 9;
    long long v = 0;
    for (size_t k = i; ok && k < s.size(); ++k) {
        if (s[k] < '0' || s[k] > '9') ok = false;
        else v = v * 10 + (s[k] - '0');
    }
    const std::string name(field);
    if (!ok) {
        if (!t.quoted && i < s.size() && s.find_first_not_of("0123456789", i) == std::string::npos)
            message = name + ": " + s + " is outside " + std::to_string(lo) + ".." +
                      std::to_string(hi);
        else
            message = name + ": '" + s + "' is not a whole number";
        return false;
    }
    if (s[0] == '-') v = -v;
    if (v < lo || v > hi) {
        message = name + ": " + s + " is outside " + std::to_string(lo) + ".." +
                  std::to_string(hi);
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

struct HeaderRule {
    const char* word;
    std::array<const char*, 2> fields;
    int count;
    int lo, hi;
};

// Header directives, the file bytes they fill (by field name) and their ranges.
const std::array<HeaderRule, 5> kHeaderRules = {{
    {"floor", {"floor half-width", "floor half-depth"}, 2, 0, 255},
    {"reserved", {"reserved A", "reserved B"}, 2, -128, 127},
    {"gravity", {"gravity", ""}, 1, -128, 127},
    {"floor_texture", {"floor texture", ""}, 1, 0, kWorldTextureCount - 1},
    {"scroll", {"scroll speed x", "scroll speed y"}, 2, -128, 127},
}};

struct TextMap {
    std::string name;
    std::map<std::string, int> header;  // by field name
    std::vector<std::array<int, 2>> starts;
    std::vector<std::array<int, 10>> boxes;
};

bool CompileLine(const std::vector<Token>& w, TextMap& m, std::map<std::string, int>& seen,
                 std::string& message) {
    const std::string& word = w[0].text;
    if (w[0].quoted) {
        message = "a line starts with a directive word, not a quoted text";
        return false;
    }
    const size_t args = w.size() - 1;
    auto wantArgs = [&](size_t n) {
        if (args == n) return true;
        message = word + ": expects " + std::to_string(n) + " value" + (n == 1 ? "" : "s") +
                  ", found " + std::to_string(args);
        return false;
    };
    auto once = [&]() {
        if (seen[word]++ == 0) return true;
        message = word + ": given twice";
        return false;
    };
    if (word == "name") {
        if (!once() || !wantArgs(1)) return false;
        if (!w[1].quoted) {
            message = "name: the name goes in double quotes";
            return false;
        }
        return DecodeName(w[1].text, m.name, message);
    }
    for (const HeaderRule& r : kHeaderRules) {
        if (word != r.word) continue;
        if (!once() || !wantArgs(static_cast<size_t>(r.count))) return false;
        for (int k = 0; k < r.count; ++k) {
            int v = 0;
            const bool texture = std::string_view(r.word) == "floor_texture";
            if (!ParseNumber(w[1 + k], r.fields[k], r.lo, r.hi, v, message)) {
                if (texture && message.find("outside") != std::string::npos)
                    message = UnknownTexture(r.fields[k], w[1 + k].text);
                return false;
            }
            m.header[r.fields[k]] = v;
        }
        return true;
    }
    if (word == "start") {
        if (!wantArgs(2)) return false;
        if (m.starts.size() >= kMaxCount) {
            message = "start: more than 127 start points";
            return false;
        }
        std::array<int, 2> p{};
        if (!ParseNumber(w[1], "start field 'x'", -128, 127, p[0], message) ||
            !ParseNumber(w[2], "start field 'y'", -128, 127, p[1], message))
            return false;
        m.starts.push_back(p);
        return true;
    }
    if (word == "box") {
        if (!wantArgs(10)) return false;
        if (m.boxes.size() >= kMaxCount) {
            message = "box: more than 127 boxes";
            return false;
        }
        std::array<int, 10> b{};
        for (size_t k = 0; k < 10; ++k) {
            const std::string field = std::string("box field '") + kBoxFields[k] + "'";
            const int hi = (k == 9) ? kWorldTextureCount - 1 : 127;
            const int lo = (k == 9) ? 0 : -128;
            if (!ParseNumber(w[1 + k], field, lo, hi, b[k], message)) {
                if (k == 9 && message.find("outside") != std::string::npos)
                    message = UnknownTexture(field, w[1 + k].text);
                return false;
            }
        }
        m.boxes.push_back(b);
        return true;
    }
    message = "unknown directive '" + word + "'";
    return false;
}

std::vector<uint8_t> Emit(const TextMap& m) {
    std::vector<uint8_t> out(m.name.begin(), m.name.end());
    out.push_back(0);
    auto h = [&](const char* field) {
        const auto it = m.header.find(field);
        out.push_back(static_cast<uint8_t>(it == m.header.end() ? 0 : it->second));
    };
    // File order: gravity sits between the two reserved bytes.
    for (const char* f : {"floor half-width", "floor half-depth", "reserved A", "gravity",
                          "reserved B", "floor texture", "scroll speed x", "scroll speed y"})
        h(f);
    out.push_back(static_cast<uint8_t>(m.starts.size()));
    for (const auto& p : m.starts)
        for (const int v : p) out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(m.boxes.size()));
    for (const auto& b : m.boxes)
        for (const int v : b) out.push_back(static_cast<uint8_t>(v));
    return out;
}

}  // namespace

std::optional<std::vector<uint8_t>> CompileMapText(std::string_view text, MapTextError& error) {
    TextMap m;
    std::map<std::string, int> seen;
    std::vector<Token> words;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        std::string message;
        if (!SplitLine(line, words, message) || (!words.empty() &&
                                                 !CompileLine(words, m, seen, message))) {
            error = {lineNo, message};
            return std::nullopt;
        }
    }
    return Emit(m);
}

bool IsMapText(std::span<const uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.find('\0') != std::string_view::npos) return false;
    static constexpr std::string_view kWords[] = {"name",  "floor", "reserved", "gravity",
                                                  "floor_texture", "scroll", "start", "box"};
    std::vector<Token> words;
    std::string message;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        if (!SplitLine(text.substr(pos, end - pos), words, message)) return false;
        if (!words.empty()) {
            if (words[0].quoted) return false;
            for (std::string_view w : kWords)
                if (words[0].text == w) return true;
            return false;
        }
        pos = end + 1;
    }
    return false;
}

std::optional<std::string> DecompileMap(std::span<const uint8_t> bytes, MapTextError& error) {
    MapState m;
    MapStage stage = MapStage::None;
    if (!ParseMap(bytes, m, &stage)) {
        static const char* const kParts[] = {"name", "header", "start points", "boxes"};
        error = {0, std::string("truncated in the ") + kParts[static_cast<int>(stage)]};
        return std::nullopt;
    }
    if (m.startPointCount < 0 || m.boxCount < 0) {
        error = {0, "negative start point or box count"};
        return std::nullopt;
    }
    const size_t used = m.name.size() + 1 + 8 + 1 + 2 * static_cast<size_t>(m.startPointCount) +
                        1 + 10 * static_cast<size_t>(m.boxCount);
    if (bytes.size() != used) {
        error = {0, std::to_string(bytes.size() - used) + " bytes after the last box"};
        return std::nullopt;
    }
    if (m.floorTexture < 0 || m.floorTexture >= kWorldTextureCount) {
        error = {0, "floor texture: unknown texture index " + std::to_string(m.floorTexture)};
        return std::nullopt;
    }
    // The normals are normalised by the parser; the raw bytes sit at the end of the file.
    const size_t boxBase = used - 10 * static_cast<size_t>(m.boxCount);
    std::string t = "# Map in text form; compile with: tamasset map compile FILE.txt FILE.map\n";
    t += "name " + EncodeName(m.name) + "\n";
    t += "floor " + std::to_string(m.floorHalfWidth) + " " + std::to_string(m.floorHalfDepth) +
         "\n";
    t += "reserved " + std::to_string(m.reservedA) + " " + std::to_string(m.reservedB) + "\n";
    t += "gravity " + std::to_string(m.gravity) + "\n";
    t += "floor_texture " + std::to_string(m.floorTexture) + "\n";
    t += "scroll " + std::to_string(m.scrollSpeedX) + " " + std::to_string(m.scrollSpeedY) + "\n";
    for (int i = 0; i < m.startPointCount; ++i)
        t += "start " + std::to_string(m.startPoints[i].x) + " " +
             std::to_string(m.startPoints[i].y) + "\n";
    if (m.boxCount > 0) t += "#   x1   y1   z1   x2   y2   z2   nx   ny   nz  texture\n";
    for (int i = 0; i < m.boxCount; ++i) {
        const uint8_t* raw = bytes.data() + boxBase + 10 * static_cast<size_t>(i);
        if (static_cast<int8_t>(raw[9]) < 0 || raw[9] >= kWorldTextureCount) {
            error = {0, "box " + std::to_string(i) + ": unknown texture index " +
                            std::to_string(static_cast<int8_t>(raw[9]))};
            return std::nullopt;
        }
        char line[96];
        std::snprintf(line, sizeof line, "box %4d %4d %4d %4d %4d %4d %4d %4d %4d %4d\n",
                      static_cast<int8_t>(raw[0]), static_cast<int8_t>(raw[1]),
                      static_cast<int8_t>(raw[2]), static_cast<int8_t>(raw[3]),
                      static_cast<int8_t>(raw[4]), static_cast<int8_t>(raw[5]),
                      static_cast<int8_t>(raw[6]), static_cast<int8_t>(raw[7]),
                      static_cast<int8_t>(raw[8]), raw[9]);
        t += line;
    }
    return t;
}

}  // namespace tam
