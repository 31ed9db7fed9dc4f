// An IP helper library whose interfaces are what a text file says, read again at every call, so that
// a test can reorder rows, hand an index to another adapter, list filter rows beside their adapter
// and move the counters of several hardware links between two readings. It calls no other library:
// it can stand in the system folder for the system's own.
//
// The file is named by the environment variable QUINTREL_LINKS; one interface a line, fields
// separated by '|':
//   index|LUID in hex|type|up or down|flags|in octets|out octets|bits a second|description|alias
// flags: 'h' hardware, 'f' filter row, 'r' the default route goes through it, '-' none. Lines that
// start with '#' and lines that do not parse are skipped.
//
// NotifyIpInterfaceChange watches the file: each time it is written again, the callback is called
// from a thread of the library's, as the platform calls it.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <winsock2.h>
#include <ws2tcpip.h>
// iphlpapi.h needs the types of the headers above.
#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxLinks = 64;

struct Link {
  DWORD index;
  ULONG64 luid;
  DWORD type;
  bool up;
  bool hardware, filter, route;
  ULONG64 in, out, speed;
  char description[MAXLEN_IFDESCR];
  char alias[64];
};

struct Links {
  int count = 0;
  Link rows[kMaxLinks];
};

bool TablePath(char (&path)[MAX_PATH]) {
  const DWORD length = GetEnvironmentVariableA("QUINTREL_LINKS", path, MAX_PATH);
  return length > 0 && length < MAX_PATH;
}

// Cuts the next '|'-separated field off `text`; the last one runs to the end of the line.
char* NextField(char*& text) {
  char* field = text;
  char* bar = strchr(text, '|');
  if (bar != nullptr) {
    *bar = '\0';
    text = bar + 1;
  } else {
    text += strlen(text);
  }
  return field;
}

bool ParseLink(char* line, Link& link) {
  line[strcspn(line, "\r\n")] = '\0';
  if (line[0] == '#' || line[0] == '\0') return false;
  char* fields[10];
  char* rest = line;
  for (char*& field : fields) field = NextField(rest);
  link = Link{};
  link.index = strtoul(fields[0], nullptr, 10);
  link.luid = strtoull(fields[1], nullptr, 16);
  link.type = strtoul(fields[2], nullptr, 10);
  link.up = strcmp(fields[3], "up") == 0;
  link.hardware = strchr(fields[4], 'h') != nullptr;
  link.filter = strchr(fields[4], 'f') != nullptr;
  link.route = strchr(fields[4], 'r') != nullptr;
  link.in = strtoull(fields[5], nullptr, 10);
  link.out = strtoull(fields[6], nullptr, 10);
  link.speed = strtoull(fields[7], nullptr, 10);
  snprintf(link.description, sizeof link.description, "%s", fields[8]);
  snprintf(link.alias, sizeof link.alias, "%s", fields[9]);
  return link.index != 0 && link.luid != 0;
}

// The file may be half written when it is read: a test writes it elsewhere and moves it in place.
void ReadLinks(Links& links) {
  links.count = 0;
  char path[MAX_PATH];
  if (!TablePath(path)) return;
  FILE* file = fopen(path, "r");
  if (file == nullptr) return;
  char line[600];
  while (links.count < kMaxLinks && fgets(line, sizeof line, file) != nullptr)
    if (ParseLink(line, links.rows[links.count])) ++links.count;
  fclose(file);
}

const Link* Find(const Links& links, ULONG64 luid, DWORD index) {
  for (int i = 0; i < links.count; ++i)
    if (luid != 0 ? links.rows[i].luid == luid : links.rows[i].index == index) return &links.rows[i];
  return nullptr;
}

void FillRow(const Link& link, MIB_IFROW& row) {
  ZeroMemory(&row, sizeof row);
  row.dwIndex = link.index;
  row.dwType = link.type;
  row.dwOperStatus = link.up ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_DISCONNECTED;
  row.dwInOctets = DWORD(link.in);
  row.dwOutOctets = DWORD(link.out);
  row.dwSpeed = link.speed > MAXDWORD ? MAXDWORD : DWORD(link.speed);
  row.dwDescrLen = DWORD(strlen(link.description));
  memcpy(row.bDescr, link.description, row.dwDescrLen);
}

void FillRow2(const Link& link, MIB_IF_ROW2& row) {
  ZeroMemory(&row, sizeof row);
  row.InterfaceLuid.Value = link.luid;
  row.InterfaceIndex = link.index;
  MultiByteToWideChar(CP_ACP, 0, link.alias, -1, row.Alias, IF_MAX_STRING_SIZE);
  MultiByteToWideChar(CP_ACP, 0, link.description, -1, row.Description, IF_MAX_STRING_SIZE);
  row.Type = link.type;
  row.InterfaceAndOperStatusFlags.HardwareInterface = link.hardware;
  row.InterfaceAndOperStatusFlags.FilterInterface = link.filter;
  row.OperStatus = link.up ? IfOperStatusUp : IfOperStatusDown;
  row.MediaConnectState = link.up ? MediaConnectStateConnected : MediaConnectStateDisconnected;
  row.TransmitLinkSpeed = row.ReceiveLinkSpeed = link.speed;
  row.InOctets = link.in;
  row.OutOctets = link.out;
}

// One watch of the file for NotifyIpInterfaceChange.
struct Watch {
  PIPINTERFACE_CHANGE_CALLBACK callback;
  void* context;
  HANDLE stop;
  HANDLE thread;
};

FILETIME WrittenAt() {
  char path[MAX_PATH];
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (TablePath(path)) GetFileAttributesExA(path, GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

DWORD WINAPI WatchFile(void* parameter) {
  Watch* watch = static_cast<Watch*>(parameter);
  FILETIME seen = WrittenAt();
  while (WaitForSingleObject(watch->stop, 50) == WAIT_TIMEOUT) {
    const FILETIME now = WrittenAt();
    if (CompareFileTime(&now, &seen) == 0) continue;
    seen = now;
    MIB_IPINTERFACE_ROW row = {};
    row.Family = AF_INET;
    watch->callback(watch->context, &row, MibAddInstance);
  }
  return 0;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI GetIfTable(PMIB_IFTABLE table, PULONG size, BOOL) {
  if (size == nullptr) return ERROR_INVALID_PARAMETER;
  static Links links;
  ReadLinks(links);
  const ULONG needed = ULONG(offsetof(MIB_IFTABLE, table) + links.count * sizeof(MIB_IFROW));
  if (table == nullptr || *size < needed) {
    *size = needed;
    return ERROR_INSUFFICIENT_BUFFER;
  }
  table->dwNumEntries = DWORD(links.count);
  for (int i = 0; i < links.count; ++i) FillRow(links.rows[i], table->table[i]);
  return NO_ERROR;
}

extern "C" __declspec(dllexport) DWORD WINAPI GetIfEntry(PMIB_IFROW row) {
  if (row == nullptr) return ERROR_INVALID_PARAMETER;
  static Links links;
  ReadLinks(links);
  const Link* link = Find(links, 0, row->dwIndex);
  if (link == nullptr) return ERROR_FILE_NOT_FOUND;
  FillRow(*link, *row);
  return NO_ERROR;
}

extern "C" __declspec(dllexport) NETIO_STATUS WINAPI GetIfEntry2(PMIB_IF_ROW2 row) {
  if (row == nullptr) return ERROR_INVALID_PARAMETER;
  static Links links;
  ReadLinks(links);
  const Link* link = Find(links, row->InterfaceLuid.Value, row->InterfaceIndex);
  if (link == nullptr) return ERROR_FILE_NOT_FOUND;
  FillRow2(*link, *row);
  return NO_ERROR;
}

extern "C" __declspec(dllexport) NETIO_STATUS WINAPI GetIfTable2(PMIB_IF_TABLE2* table) {
  if (table == nullptr) return ERROR_INVALID_PARAMETER;
  static Links links;
  ReadLinks(links);
  const SIZE_T bytes = offsetof(MIB_IF_TABLE2, Table) + SIZE_T(links.count + 1) * sizeof(MIB_IF_ROW2);
  *table = static_cast<PMIB_IF_TABLE2>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
  if (*table == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  (*table)->NumEntries = ULONG(links.count);
  for (int i = 0; i < links.count; ++i) FillRow2(links.rows[i], (*table)->Table[i]);
  return NO_ERROR;
}

extern "C" __declspec(dllexport) VOID WINAPI FreeMibTable(PVOID memory) {
  if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}

extern "C" __declspec(dllexport) DWORD WINAPI GetBestInterfaceEx(struct sockaddr*, PDWORD index) {
  if (index == nullptr) return ERROR_INVALID_PARAMETER;
  static Links links;
  ReadLinks(links);
  for (int i = 0; i < links.count; ++i) {
    if (!links.rows[i].route) continue;
    *index = links.rows[i].index;
    return NO_ERROR;
  }
  return ERROR_NOT_FOUND;
}

extern "C" __declspec(dllexport) NETIO_STATUS WINAPI NotifyIpInterfaceChange(ADDRESS_FAMILY, PIPINTERFACE_CHANGE_CALLBACK callback,
                                                                            PVOID context, BOOLEAN, HANDLE* handle) {
  if (callback == nullptr || handle == nullptr) return ERROR_INVALID_PARAMETER;
  Watch* watch = new Watch{callback, context, CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr};
  watch->thread = CreateThread(nullptr, 0, WatchFile, watch, 0, nullptr);
  *handle = watch;
  return NO_ERROR;
}

// As the platform does, waits for a callback under way before it returns.
extern "C" __declspec(dllexport) NETIO_STATUS WINAPI CancelMibChangeNotify2(HANDLE handle) {
  Watch* watch = static_cast<Watch*>(handle);
  if (watch == nullptr) return ERROR_INVALID_PARAMETER;
  SetEvent(watch->stop);
  WaitForSingleObject(watch->thread, INFINITE);
  CloseHandle(watch->thread);
  CloseHandle(watch->stop);
  delete watch;
  return NO_ERROR;
}
