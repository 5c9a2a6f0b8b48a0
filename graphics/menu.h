#pragma once
#include "core/heap_string.h"
#include "core/ptr_list.h"

struct IMenuList;

// One entry of a popup menu.
struct IMenuEntry {
  enum Flags { kGreyed = 1, kInactive = 2, kTicked = 4, kSeparator = 8 };
  HeapString text{128};
  IMenuList* submenu = nullptr;  // not owned
  int flags = 0;
};

// A popup menu: its entries (owned) and, after it ran, the chosen entry.
struct IMenuList {
  IMenuList() = default;
  ~IMenuList() { entries.DeleteAll(); }
  IMenuList(const IMenuList&) = delete;
  IMenuList& operator=(const IMenuList&) = delete;

  int numbering = 0;  // 0 none, 1 "%1d: %s", 2 "%02d: %s", 3 "%03d: %s"
  int chosen = -1;
  PtrList<IMenuEntry> entries{4096};
};
