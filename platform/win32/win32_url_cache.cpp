// The WinINet URL cache: every entry's size is asked first and its buffer allocated to exactly
// that size, since entries carry their strings behind the fixed record.
#include "platform/win32/win.h"

#include <wininet.h>

#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

struct UrlCacheFindTraits {
  using Value = HANDLE;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value h) { return h != nullptr; }
  static void Close(Value h) { ::FindCloseUrlCache(h); }
};
using UniqueUrlCacheFind = UniqueResource<UrlCacheFindTraits>;

// A buffer of `size` bytes, aligned for the record, with its dwStructSize set.
class EntryBuffer {
 public:
  INTERNET_CACHE_ENTRY_INFOW* Allocate(DWORD size) {
    words_.assign((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(words_.data());
    entry->dwStructSize = size;
    return entry;
  }

 private:
  std::vector<std::uint64_t> words_;
};

}  // namespace

void Win32System::ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) {
  EntryBuffer buffer;
  DWORD size = 0;
  // Without a buffer the call only reports the first entry's size; 0 means an empty cache.
  ::FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
  if (size < sizeof(INTERNET_CACHE_ENTRY_INFOW)) return;
  INTERNET_CACHE_ENTRY_INFOW* entry = buffer.Allocate(size);
  UniqueUrlCacheFind search(::FindFirstUrlCacheEntryW(nullptr, entry, &size));
  if (!search) return;
  for (;;) {
    if (entry->lpszSourceUrlName && !visit(Narrow(entry->lpszSourceUrlName))) return;
    size = 0;
    ::FindNextUrlCacheEntryW(search.Get(), nullptr, &size);
    if (size < sizeof(INTERNET_CACHE_ENTRY_INFOW)) return;
    entry = buffer.Allocate(size);
    if (!::FindNextUrlCacheEntryW(search.Get(), entry, &size)) return;
  }
}

bool Win32System::DeleteUrlCacheItem(std::string_view sourceUrl) {
  std::optional<std::wstring> wide = Widen(sourceUrl);
  if (!wide || wide->empty() || wide->find(L'\0') != std::wstring::npos) return false;
  return ::DeleteUrlCacheEntryW(wide->c_str()) != FALSE;
}

}  // namespace platform::win32
