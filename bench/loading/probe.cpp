// What another process holds, printed as one line:
//   gdi=<GDI objects> handles=<kernel handles> private=<bytes> peak_private=<bytes>
// (private: PrivateUsage, or the committed private bytes where that is 0)
// for the first running process whose executable has the given name.
// The GDI objects are counted as the leak tests count them.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "support/resource_counts.h"

namespace {

DWORD FindProcess(const char* exe) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD pid = 0;
  for (BOOL ok = Process32First(snap, &entry); ok && !pid; ok = Process32Next(snap, &entry))
    if (lstrcmpiA(entry.szExeFile, exe) == 0) pid = entry.th32ProcessID;
  CloseHandle(snap);
  return pid;
}

// Kernel handles of a process: GetProcessHandleCount, or where that gives
// nothing for another process (Wine), the system's handle list.
DWORD KernelHandles(HANDLE process, DWORD pid) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count) return count;
  struct Entry {
    ULONG owner;
    BYTE type, flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<BYTE> buffer(1 << 20);
  ULONG needed = 0;
  LONG status;
  while ((status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
         static_cast<LONG>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  if (status != 0) return 0;
  const ULONG entries = *reinterpret_cast<ULONG*>(buffer.data());
  const Entry* e = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
  for (ULONG i = 0; i < entries; ++i)
    if (e[i].owner == pid) ++count;
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const DWORD pid = FindProcess(argc > 1 ? argv[1] : "Glimora.scr");
  if (!pid) {
    std::printf("no such process\n");
    return 1;
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    std::printf("cannot open process %lu\n", static_cast<unsigned long>(pid));
    return 1;
  }
  const DWORD handles = KernelHandles(process, pid);
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  const DWORD gdi = resource_counts::GdiObjects(process);
  std::printf("gdi=%lu handles=%lu private=%lu peak_private=%lu\n", static_cast<unsigned long>(gdi),
              static_cast<unsigned long>(handles), static_cast<unsigned long>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage),
              static_cast<unsigned long>(memory.PeakPagefileUsage));
  CloseHandle(process);
  return 0;
}
