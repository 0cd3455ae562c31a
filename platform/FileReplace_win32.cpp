#include "platform/FileReplace.h"

#include <windows.h>

#include <algorithm>

namespace vt {

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // A fixed name beside the target: MoveFileExA only replaces atomically within one volume.
  std::string temp = path + ".tmp";
  HANDLE h = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    ok = ::WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = ok && ::FlushFileBuffers(h);
  ok = ::CloseHandle(h) && ok;
  if (ok &&
      ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  ::DeleteFileA(temp.c_str());
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buf[16384];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(h, buf, sizeof buf, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes.append(buf, got);
  }
  ::CloseHandle(h);
  return ok;
}

}  // namespace vt
