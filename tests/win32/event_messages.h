// The text the event viewer shows for a record: the message of its id in a message file (the
// program), with the record's insertion strings put in.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"

namespace testing_win32 {

// Empty when the file has no such message.
inline std::string EventMessage(const std::wstring& messageFile, DWORD id,
                                const std::vector<std::wstring>& strings) {
  HMODULE module = ::LoadLibraryExW(messageFile.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  std::vector<DWORD_PTR> arguments;
  for (const std::wstring& text : strings)
    arguments.push_back(reinterpret_cast<DWORD_PTR>(text.c_str()));
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      module, id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<LPWSTR>(&text), 0,
      reinterpret_cast<va_list*>(arguments.data()));
  std::string message = length ? platform::win32::Narrow({text, length}) : std::string();
  ::LocalFree(text);
  ::FreeLibrary(module);
  return message;
}

}  // namespace testing_win32
