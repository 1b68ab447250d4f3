// The Set command with any selection (a game folder of any bytes, terminated or not), any Windows
// directory and user name, either answer, maybe over the file of an earlier run, and now and then
// a platform call failing. Nothing is left open or allocated, and the messages tell the truth:
// the completion message only with the file written, any other end with every file as it was.
#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "app/logic/set_command.h"
#include "file/text_file.h"
#include "fuzz_support.h"
#include "host/fake_host.h"
#include "subst/file_hooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using subst::Fault;
  static const std::string root = ScratchFolder() + "/root";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root + "/X/WINDOWS");
  subst::SetDriveRoot(root.c_str());
  FuzzedDataProvider in(data, size);
  g_selection = Selection{in.ConsumeIntegralInRange<int32_t>(-1, 3), in.ConsumeBool(), {}};
  in.ConsumeRandomLengthString(kPathBufferSize).copy(g_selection.gameFolder, kPathBufferSize);
  const std::string folder(g_selection.gameFolder, strnlen(g_selection.gameFolder, kPathBufferSize));
  g_profileFolderFlag = in.ConsumeBool();
  FakeHost host;
  if (in.ConsumeBool()) host.windowsDirectory = ("X:" + in.ConsumeRandomLengthString(300)).c_str();
  if (in.ConsumeBool()) host.userName = in.ConsumeRandomLengthString(240).c_str();
  if (in.ConsumeBool()) RunSetCommand(host, kDialog);  // the old file
  host.answer = in.ConsumeBool() ? IDYES : IDNO;
  host.shown.clear();
  // A delete only follows another failure; failing it as well would just leave the temporary file.
  const auto fault = static_cast<Fault>(in.ConsumeIntegralInRange<int>(0, int(Fault::kHeapAlloc)));
  if (fault != Fault::kDelete && in.ConsumeBool()) subst::FailCall(fault, in.ConsumeIntegralInRange(1, 12));
  const auto before = TreeUnder(root);
  RunSetCommand(host, kDialog);
  subst::ClearFaults();

  FUZZ_CHECK(subst::OpenFileHandles() == 0 && g_textFile.GetBuffer() == nullptr, "handle or buffer left");
  const std::vector<std::string>& s = host.shown;
  const bool asked = !s.empty() && s[0] == kMessageAskOverwrite;
  FUZZ_CHECK(s.size() == (asked && host.answer == IDYES ? 2u : 1u), "messages");
  const bool done = s.back() == kMessageSetDone;
  FUZZ_CHECK((s.back() == kMessageNoGameFolder) == folder.empty(), s.back());
  bool written = false;
  for (const auto& [name, bytes] : TreeUnder(root)) {
    written = written || (bytes != "/" && bytes.rfind(folder + "\r\n", 0) == 0);
    FUZZ_CHECK(done || bytes == "/" || (before.count(name) && before.at(name) == bytes), name);
  }
  FUZZ_CHECK(!done || written, "done without its file");
  return 0;
}
