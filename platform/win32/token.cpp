#include "platform/win32/token.h"

#include "platform/win32/win.h"

#include <sddl.h>

#include <vector>

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

UniqueHandle OpenToken() {
  UniqueHandle token;
  if (::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.Receive())) return token;
  if (::GetLastError() == ERROR_NO_TOKEN) {
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive());
  }
  return token;
}

}  // namespace

std::string TokenUserSid() {
  UniqueHandle token = OpenToken();
  if (!token) return {};
  DWORD needed = 0;
  ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &needed);
  if (needed == 0) return {};
  std::vector<unsigned char> buffer(needed);
  if (!::GetTokenInformation(token.Get(), TokenUser, buffer.data(), needed, &needed)) return {};
  wchar_t* text = nullptr;
  if (!::ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid,
                                &text)) {
    return {};
  }
  // A SID string is ASCII.
  std::string sid;
  for (const wchar_t* c = text; *c; ++c)
    sid += static_cast<char>(*c);
  ::LocalFree(text);
  return sid;
}

bool TokenHoldsAdministrators() {
  UniqueHandle token = OpenToken();
  if (!token) return false;
  // The group list is read at its full size: a user in many groups is still an administrator.
  DWORD needed = 0;
  ::GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &needed);
  if (needed == 0) return false;
  std::vector<unsigned char> buffer(needed);
  if (!::GetTokenInformation(token.Get(), TokenGroups, buffer.data(), needed, &needed)) {
    return false;
  }
  token.Reset();

  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  UniqueSid administrators;
  if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  administrators.Receive())) {
    return false;
  }
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  for (DWORD i = 0; i < groups->GroupCount; ++i) {
    if (::EqualSid(groups->Groups[i].Sid, administrators.Get())) return true;
  }
  return false;
}

}  // namespace platform::win32
