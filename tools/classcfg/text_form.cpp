// The text form: one `key: value` line per fact, grouped under comments that
// name the editor pages. Every key owns a fixed set of bits or bytes of the
// record and no two keys share one, so the keys can come in any order and
// dump followed by build gives back every byte.
#include "classcfg.h"
#include "field_schema.h"
#include "value_readers.h"

#include <map>

namespace kestrane {
namespace classcfg {

TextError::TextError(const std::string& source, int line, const std::string& message)
    : std::runtime_error(source + ":" + std::to_string(line) + ": " + message), line_(line) {}

namespace {

std::string sizeNote(const std::vector<std::uint8_t>& fileBytes) {
    std::size_t n = fileBytes.size();
    if (n == kClassFileSize) return "";
    std::string out = "# file size: " + std::to_string(n) + " bytes, not 74.\n";
    if (n < kClassFileSize)
        return out + "# The fields below are as a read leaves an empty record: bytes the file lacks are zero.\n\n";
    return out + "# Bytes past 74, which a read ignores and build does not write: " +
           hexBytes(fileBytes.data() + kClassFileSize, n - kClassFileSize) + "\n\n";
}

}  // namespace

ClassData recordOf(const std::vector<std::uint8_t>& fileBytes) {
    ClassData c;
    c.fromBytes(fileBytes.data(), fileBytes.size());
    return c;
}

std::string dumpText(const ClassData& record) {
    std::string out;
    for (const KeyDef& k : keyDefs()) {
        if (!k.section.empty()) out += (out.empty() ? "# " : "\n# ") + k.section + "\n";
        out += k.key + ": " + textOf(k.valueIn(record)) + "\n";
        if (k.note) out += "# " + k.note(record) + "\n";
    }
    return out;
}

std::string dumpText(const std::vector<std::uint8_t>& fileBytes) {
    return sizeNote(fileBytes) + dumpText(recordOf(fileBytes));
}

namespace {

// Each key's position in the schema, by its normalised name; made once.
const std::map<std::string, std::size_t>& keyIndex() {
    static const std::map<std::string, std::size_t> index = [] {
        std::map<std::string, std::size_t> m;
        for (std::size_t i = 0; i < keyDefs().size(); ++i) m[normalName(keyDefs()[i].key)] = i;
        return m;
    }();
    return index;
}

}  // namespace

ClassData parseText(const std::string& text, const std::string& source, std::vector<std::string>* missing) {
    const std::map<std::string, std::size_t>& byKey = keyIndex();
    // The line each key was given on, 0 while it has not been.
    std::vector<int> seen(keyDefs().size(), 0);

    Draft d;
    std::size_t pos = 0;
    // A leading UTF-8 byte-order mark, as some Windows editors write, is not text.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    int lineNo = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trim(line);
        if (t.empty() || t[0] == '#') continue;
        std::size_t colon = t.find(':');
        if (colon == std::string::npos) throw TextError(source, lineNo, "expected 'key: value', got '" + t + "'");
        std::string key = trim(t.substr(0, colon));
        auto it = byKey.find(normalName(key));
        if (it == byKey.end()) throw TextError(source, lineNo, "unknown key '" + key + "'");
        const KeyDef& def = keyDefs()[it->second];
        if (int first = seen[it->second])
            throw TextError(source, lineNo, "'" + def.key + "' is given twice (first on line " + std::to_string(first) + ")");
        seen[it->second] = lineNo;
        d.currentLine = lineNo;
        try {
            def.parse(d, t.substr(colon + 1));
        } catch (const ValueError& e) {
            throw TextError(source, lineNo, def.key + ": " + e.message);
        }
    }

    // The name and the bytes behind its terminator share the 19 bytes.
    std::size_t used = d.name.size() + (d.tail.empty() ? 0 : 1 + d.tail.size());
    if (used > kClassNameSize) {
        int line = d.tailLine ? d.tailLine : d.nameLine;
        throw TextError(source, line,
                        "the name (" + std::to_string(d.name.size()) + " bytes), its NUL and the name tail (" +
                            std::to_string(d.tail.size()) + " bytes) need " + std::to_string(used) +
                            " bytes; the field holds 19");
    }
    if (missing)
        for (std::size_t i = 0; i < seen.size(); ++i)
            if (!seen[i]) missing->push_back(keyDefs()[i].key);
    d.data.className.fill('\0');
    std::copy(d.name.begin(), d.name.end(), d.data.className.begin());
    for (std::size_t i = 0; i < d.tail.size(); ++i)
        d.data.className[d.name.size() + 1 + i] = static_cast<char>(d.tail[i]);
    return d.data;
}

}  // namespace classcfg
}  // namespace kestrane
