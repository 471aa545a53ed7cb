// The INI settings file, POSIX side: a small reader and writer with the rules
// of the Windows profile functions (see profile.h). Lines may end in CR LF or
// LF; what this side writes ends in CR LF.
#include "platform/profile.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <string>

namespace {

bool readWholeFile(const char* path, std::string* text) {
    text->clear();
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0)
        text->append(block, n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One line of the file: [begin, end) without its line end; next is where the
// following line begins.
struct Line {
    size_t begin, end, next;
};

Line lineAt(const std::string& text, size_t at) {
    Line line;
    line.begin = at;
    size_t e = text.find('\n', at);
    if (e == std::string::npos) {
        line.end = line.next = text.size();
    } else {
        line.next = e + 1;
        line.end = e;
    }
    if (line.end > line.begin && text[line.end - 1] == '\r')
        line.end--;
    return line;
}

// The trimmed text of [begin, end) as a pair of offsets.
void trim(const std::string& text, size_t* begin, size_t* end) {
    while (*begin < *end && isBlank(text[*begin]))
        (*begin)++;
    while (*end > *begin && isBlank(text[*end - 1]))
        (*end)--;
}

bool sameName(const std::string& text, size_t begin, size_t end, const char* name) {
    size_t n = strlen(name);
    return end - begin == n && strncasecmp(text.data() + begin, name, n) == 0;
}

// When the line is a section header, true with the name's bounds.
bool sectionHeader(const std::string& text, const Line& line, size_t* nameBegin, size_t* nameEnd) {
    size_t b = line.begin, e = line.end;
    trim(text, &b, &e);
    if (b >= e || text[b] != '[')
        return false;
    size_t close = text.find(']', b);
    if (close == std::string::npos || close >= e)
        return false;
    *nameBegin = b + 1;
    *nameEnd = close;
    trim(text, nameBegin, nameEnd);
    return true;
}

// Finds the key in the section; true with the value's bounds, trimmed and
// without one pair of surrounding quotes.
bool findValue(const std::string& text, const char* section, const char* key, size_t* valueBegin,
               size_t* valueEnd) {
    bool inSection = false;
    for (size_t at = 0; at < text.size();) {
        Line line = lineAt(text, at);
        at = line.next;
        size_t nb, ne;
        if (sectionHeader(text, line, &nb, &ne)) {
            inSection = sameName(text, nb, ne, section);
            continue;
        }
        if (!inSection)
            continue;
        size_t eq = text.find('=', line.begin);
        size_t keyEnd = (eq == std::string::npos || eq > line.end) ? line.end : eq;
        size_t kb = line.begin, ke = keyEnd;
        trim(text, &kb, &ke);
        if (!sameName(text, kb, ke, key))
            continue;
        size_t vb = keyEnd < line.end ? keyEnd + 1 : line.end, ve = line.end;
        trim(text, &vb, &ve);
        if (ve - vb >= 2 && (text[vb] == '"' || text[vb] == '\'') && text[ve - 1] == text[vb]) {
            vb++;
            ve--;
        }
        *valueBegin = vb;
        *valueEnd = ve;
        return true;
    }
    return false;
}

}  // namespace

int platProfileInt(const char* section, const char* key, int defaultValue, const char* path) {
    std::string text;
    size_t vb, ve;
    if (!readWholeFile(path, &text) || !findValue(text, section, key, &vb, &ve) || vb == ve)
        return defaultValue;
    // Decimal digits after an optional sign; whatever follows them is ignored,
    // and a value without digits reads as 0. Wraps like a 32-bit unsigned number.
    size_t i = vb;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+')
        negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < ve && text[i] >= '0' && text[i] <= '9'; i++)
        value = value * 10u + (uint32_t)(text[i] - '0');
    if (negative)
        value = 0u - value;
    return value <= 0x7FFFFFFFu ? (int)value : (int)(value - 0x80000000u) - 0x7FFFFFFF - 1;
}

void platProfileString(const char* section, const char* key, const char* defaultValue, char* out,
                       size_t size, const char* path) {
    if (size == 0)
        return;
    std::string text;
    size_t vb, ve;
    const char* from = defaultValue ? defaultValue : "";
    size_t n = strlen(from);
    if (readWholeFile(path, &text) && findValue(text, section, key, &vb, &ve)) {
        from = text.data() + vb;
        n = ve - vb;
    }
    if (n >= size)
        n = size - 1;
    memcpy(out, from, n);
    out[n] = '\0';
}

bool platWriteProfileSection(const char* section, const char* pairs, const char* path) {
    std::string text;
    readWholeFile(path, &text);  // a missing file is an empty one

    std::string fresh = "[";
    fresh += section;
    fresh += "]\r\n";
    fresh += pairs;

    // The section runs from its header to the next header or the end.
    size_t start = std::string::npos, stop = text.size();
    for (size_t at = 0; at < text.size();) {
        Line line = lineAt(text, at);
        at = line.next;
        size_t nb, ne;
        if (!sectionHeader(text, line, &nb, &ne))
            continue;
        if (start != std::string::npos) {
            stop = line.begin;
            break;
        }
        if (sameName(text, nb, ne, section))
            start = line.begin;
    }

    std::string result;
    if (start != std::string::npos) {
        result = text.substr(0, start) + fresh;
        if (stop < text.size())
            result += "\r\n" + text.substr(stop);
    } else {
        result = text;
        if (!result.empty()) {
            if (result.back() != '\n')
                result += "\r\n";
            result += "\r\n";
        }
        result += fresh;
    }

    // Written beside the file and moved over it, so a failed write leaves the old file.
    std::string temp = std::string(path) + ".new";
    FILE* f = fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(result.data(), 1, result.size(), f) == result.size();
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(temp.c_str(), path) != 0) {
        remove(temp.c_str());
        return false;
    }
    return true;
}
