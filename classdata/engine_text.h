// The open engine's text table. Daggerfall Unity's class list shows a class
// file's name through it: the text it keeps under that name as a key, or
// "<LocaleText-NotFound>" for a name that is none of its keys (exactly, case
// and spaces counting). The table's keys and English texts are in
// engine_text_table.inc.
#ifndef KESTRANE_ENGINE_TEXT_H
#define KESTRANE_ENGINE_TEXT_H

#include <string>

namespace kestrane {

// What the class list shows for a name that is no key (TextManager.cs:45).
extern const char kEngineTextNotFound[];

// True when `name` is one of the table's keys. It compares 32-bit hashes of
// the keys, so the editor carries no copy of the table: a name that is no
// key passes for one about once in five million (engine_text_keys.cpp).
bool isEngineTextKey(const std::string& name);

// The English text under the key `name`; false when it is no key. The whole
// table comes with it (engine_text.cpp): classcfg has it, the editor does not.
bool engineTextUnder(const std::string& name, std::string& text);

}  // namespace kestrane

#endif
