#pragma once

#include <string>

// The game's texts are UTF-8; Windows's W functions take UTF-16.
namespace toolkit::win32 {

std::wstring to_utf16(const std::string& utf8);
std::string to_utf8(const std::wstring& utf16);

}  // namespace toolkit::win32
