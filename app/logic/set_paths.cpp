#include "app/logic/set_paths.h"

#include "app/logic/system_host.h"

namespace {

constexpr char kTempSuffix[] = ".tmp";

bool AppendUserName(SystemHost& host, PathBuffer& path) {
  DWORD size = static_cast<DWORD>(path.SpaceLeft());
  if (!host.QueryUserName(path.Tail(), size)) return false;
  const size_t before = path.Length();
  path.Adopt();
  return path.Length() > before;
}

// The profile folder keeps the drive of the Windows directory ("C:\").
bool BuildProfileFolders(SystemHost& host, const char* windowsDirectory, size_t length,
                         InstallPaths& paths) {
  PathBuffer user;
  if (length < 3 || !user.AppendBytes(windowsDirectory, 3) ||
      !user.Append("Documents and Settings\\") || !AppendUserName(host, user)) {
    return false;
  }
  paths.information = user;
  paths.temporaryFolder = user;
  return paths.information.Append("\\Application Data\\Vorn\\") &&
         paths.temporaryFolder.Append("\\Local Settings\\Temp\\");
}

}  // namespace

bool BuildPaths(SystemHost& host, bool profile, const char* fileName, InstallPaths& paths) {
  char windowsDirectory[kPathBufferSize] = {};
  const UINT length = host.QueryWindowsDirectory(windowsDirectory, kPathBufferSize);
  if (length == 0 || length >= kPathBufferSize) return false;

  const bool folderBuilt =
      profile ? BuildProfileFolders(host, windowsDirectory, length, paths)
              : paths.information.AppendBytes(windowsDirectory, length) &&
                    paths.information.Append("\\");
  if (!folderBuilt || !paths.information.Append(fileName)) return false;
  paths.temporaryFile = paths.information;
  return paths.temporaryFile.Append(kTempSuffix);
}
