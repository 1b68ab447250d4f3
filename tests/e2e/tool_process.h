#pragma once
#include <windows.h>

#include <string>

// One run of the tool. The process is killed when the object goes, so a failing test never
// leaves a tool behind to block the next one's single-instance check.
class ToolProcess {
 public:
  ToolProcess() = default;
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // `arguments` follow the quoted program name after one blank.
  bool Start(const std::string& program, const std::string& arguments = "");
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  bool Running() const;
  // False when the process is still running after `timeoutMs`.
  bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);

 private:
  PROCESS_INFORMATION info_ = {};
};

// Ends every running tool in this Wine session, found by its hidden main window.
void KillStrayTools();
