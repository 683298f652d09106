#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Writes one JSON text (RFC 8259) as its values come, with two blanks of
// indent per level, so that a person can read it too. Texts are UTF-8 and
// stay so: only the quote, the backslash and the control characters are
// escaped, and a byte that is not part of a UTF-8 character becomes
// U+FFFD, so the output is always valid UTF-8 whatever a registry value or
// an engine's message held. The caller keeps the structure right: a Key
// before each member of an object, Begin and End in pairs.
class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view text);
  JsonWriter& Number(int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // An array of texts, on one level.
  JsonWriter& Strings(const std::vector<std::string>& texts);

  // The text so far, ended by a line end once the outermost value is closed.
  const std::string& Text() const { return text_; }

 private:
  void BeforeValue();
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);

  std::string text_;
  // Per open level: whether it holds a member or item yet.
  std::vector<bool> filled_;
  bool afterKey_ = false;
};

// The text as a JSON string, quotes included.
std::string JsonQuoted(std::string_view text);

}  // namespace platform
