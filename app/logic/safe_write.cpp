#include "app/logic/safe_write.h"

#include "app/logic/app_state.h"
#include "app/logic/system_host.h"
#include "file/text_file.h"

namespace {

constexpr uint32_t kTextCapacity = 280;  // 259-byte folder, CR LF and the longest list fit

ResultCode BuildContent(const char* gameFolder, const char* components) {
  ResultCode result = g_textFile.AllocateZeroed(kTextCapacity);
  if (result == RC_OK) result = g_textFile.WriteLine(gameFolder);
  if (result == RC_OK) result = g_textFile.WriteString(components);
  return result;
}

}  // namespace

bool WriteInformationFile(SystemHost& host, const char* gameFolder, const char* components,
                          const InstallPaths& paths, bool replacing) {
  const char* temporary = paths.temporaryFile.Text();
  ResultCode result = BuildContent(gameFolder, components);
  if (result == RC_OK) {
    result = g_textFile.SaveTextFlushed(temporary);
    // After a refused open nothing under the temporary name is ours to remove.
    if (result != RC_OK && result != RC_OPEN_FAILED) host.RemoveFile(temporary);
  }
  g_textFile.SetPosition(0);
  g_textFile.Free();
  if (result != RC_OK) return false;

  const char* target = paths.information.Text();
  if (replacing ? host.MoveReplacing(temporary, target) : host.MoveToNewName(temporary, target))
    return true;
  host.RemoveFile(temporary);
  return false;
}
