#pragma once
// What the fuzzing checks for each input, shared by the libFuzzer driver (scripts/fuzz.sh) and
// the test that replays the kept corpus. Each check returns "" when the input passes, else what
// went wrong.

#include <cstddef>
#include <cstdint>
#include <string>

namespace hbfuzz {

// The statement translator: the first byte picks the backend (odd: server, even: file), the
// rest is the statement (UTF-8). A statement is either refused whole or translated with every
// quoted text, comment and back-quoted name of it kept byte for byte (the * at either end of a
// quoted LIKE pattern may become %); the only protected pieces it may add are date literals.
std::string checkTranslator(const uint8_t *data, size_t size);
// The comparison behind it: "" when `out` keeps every protected piece of `in` and adds none but
// date literals (and copies), else what was lost or added.
std::string compareProtected(const std::string &in, const std::string &out);
// The number parser: a number it accepts is finite and reads back the same from its own text.
std::string checkNumber(const uint8_t *data, size_t size);
// The date parser: a date it accepts is valid and reads back the same from its stored form.
std::string checkDate(const uint8_t *data, size_t size);

// The checks by name ("translator", "number", "date"); nullptr for another name.
using Check = std::string (*)(const uint8_t *, size_t);
Check checkByName(const std::string &name);

}  // namespace hbfuzz
