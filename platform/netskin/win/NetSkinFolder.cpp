#include "NetSkinFolder.h"

#include <windows.h>

namespace {
// The folder changes on the window thread (a server message) while workers may look up.
SRWLOCK g_lock = SRWLOCK_INIT;
std::string& Folder() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetCurrentNetSkinFolder(const std::string& folder) {
  ::AcquireSRWLockExclusive(&g_lock);
  Folder() = folder;
  ::ReleaseSRWLockExclusive(&g_lock);
}

std::string CurrentNetSkinFolder() {
  ::AcquireSRWLockShared(&g_lock);
  std::string folder = Folder();
  ::ReleaseSRWLockShared(&g_lock);
  return folder;
}

std::string NetSkinPicture(const std::string& relative, const std::string& otherwise) {
  const std::string folder = CurrentNetSkinFolder();
  if (folder.empty() || relative.empty()) return otherwise;
  const std::string path = folder + relative;
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : otherwise;
}
