// What a process holds: GDI objects, kernel handles and heap bytes, counted
// in a way that also works under Wine. Shared by the leak tests and the
// loading benchmark's probe.
#pragma once
#include <windows.h>

#include <vector>

namespace resource_counts {

struct Counts {
  DWORD gdi, handles;
  SIZE_T heapBytes;
};

// GDI objects of a process (this one unless given). Wine answers
// GetGuiResources with 0; there the objects are counted in the process's
// handle table (the PEB's GdiSharedHandleTable, 24-byte entries whose Type
// byte is 0 when free), read with ReadProcessMemory so that another process
// (opened with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ) can be counted too.
inline DWORD GdiObjects(HANDLE process = GetCurrentProcess()) {
  const DWORD counted = GetGuiResources(process, GR_GDIOBJECTS);
  if (counted || !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) return counted;
  struct Entry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user;
  };
  static_assert(sizeof(Entry) == 24, "Wine's GDI handle entry");
  // ProcessBasicInformation: the PEB's address is the second field.
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  ULONG_PTR basic[6] = {};
  if (!query || query(process, 0, basic, sizeof basic, nullptr) != 0) return 0;
  void* tableAddress = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic[1]) + 0x94, &tableAddress,
                         sizeof tableAddress, &got) || !tableAddress)
    return 0;
  std::vector<Entry> table(0x10000);
  if (!ReadProcessMemory(process, tableAddress, table.data(), table.size() * sizeof(Entry), &got)) return 0;
  DWORD count = 0;
  for (size_t i = 0; i < got / sizeof(Entry); ++i)
    if (table[i].type && !(table[i].unique & 0x80)) ++count;  // in use, not a stock object
  return count;
}

// Kernel handles: GetProcessHandleCount, or where that gives nothing, every
// handle value that GetHandleInformation accepts.
inline DWORD KernelHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count) return count;
  DWORD flags;
  for (UINT_PTR h = 4; h < 0x20000; h += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++count;
  return count;
}

// Bytes in use in the process heap, where LocalAlloc and GlobalAlloc take
// the blocks that the plug-ins hand over.
inline SIZE_T HeapBytes() {
  SIZE_T bytes = 0;
  HANDLE heap = GetProcessHeap();
  HeapLock(heap);
  PROCESS_HEAP_ENTRY entry = {};
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
  HeapUnlock(heap);
  return bytes;
}

inline Counts Now() { return {GdiObjects(), KernelHandles(), HeapBytes()}; }

}  // namespace resource_counts
