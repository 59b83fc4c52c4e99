// Laying GBK text out for the game's text boxes, which cut a text into rows by byte count:
// a double-byte character must never straddle a row end, so a space moves it to the next row.
#pragma once

#include <string>
#include <string_view>

namespace datagen {

// The text with a space put in before every double-byte character that would otherwise
// straddle the end of a row of rowBytes bytes (counting from the text's first byte).
std::string LayOutRows(std::string_view gbk, int rowBytes);

// The text filled with spaces up to the end of its current row (unchanged when it already
// ends a row exactly).
std::string PadToRowEnd(std::string text, int rowBytes);

// How many rows of rowBytes the text fills (0 for an empty text).
int RowCount(std::string_view gbk, int rowBytes);

// Empty when every row break of the text falls between two characters; otherwise says where
// a character straddles.
std::string FindStraddle(std::string_view gbk, int rowBytes);

// Empty when no row of rowBytes starts with punctuation that closes a sentence or a clause
// (such as "。", "，", "！" or "……"), which would stand alone at the start of a row; otherwise
// says which row.
std::string FindRowStartingWithCloser(std::string_view gbk, int rowBytes);

// Empty when no double-byte character of the text has one of forbiddenSecond as its second
// byte and no single-byte character is one of forbiddenSingle; otherwise says which
// character breaks the rule.
std::string FindForbiddenByte(std::string_view gbk, std::string_view forbiddenSecond,
                              std::string_view forbiddenSingle);

}  // namespace datagen
