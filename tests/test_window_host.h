#pragma once
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "imaging/mem_bitmap.h"

// A window host for the graphics core that records what it is asked to do:
// presented areas, popup menus, entry fields and web addresses.
class TestWindowHost : public IGraphics {
 public:
  explicit TestWindowHost(IPluginBase* plug, int width = 360, int height = 104)
      : IGraphics(plug, width, height, 25) {}

  bool PresentArea(const IBounds& area) override {
    presented.push_back(area);
    return true;
  }
  void AbortTextEntry() override {}
  int ShowMessage(const char*, const char*, int) override { return 0; }
  IMenuList* RunPopupMenu(IMenuList& menu, const IBounds& anchor) override {
    menuTexts.clear();
    menuFlags.clear();
    for (int i = 0; i < menu.entries.Count(); ++i) {
      menuTexts.push_back(menu.entries.Get(i)->text.Text() ? menu.entries.Get(i)->text.Text() : "");
      menuFlags.push_back(menu.entries.Get(i)->flags);
    }
    menuAnchor = anchor;
    ++menusShown;
    menu.chosen = menuChoice;
    return menuChoice >= 0 ? &menu : nullptr;
  }
  void BeginTextEntry(IControl* control, const ITextStyle&, const IBounds& area,
                      const char* initialText, IParameter*) override {
    entryControl = control;
    entryArea = area;
    entryText = initialText != nullptr ? initialText : "";
  }
  void HostFolder(HeapString&) override {}
  void LibraryFolder(HeapString&) override {}
  void DesktopFolder(HeapString&) override {}
  void AppDataFolder(HeapString&, bool) override {}
  void UserAppDataFolder(HeapString&) override {}
  void AskForFile(HeapString&, int, HeapString&, const char*) override {}
  bool AskForColor(IColorARGB&, const char*) override { return false; }
  bool OpenWebAddress(const char* address, const char* caption, const char*, const char*) override {
    addresses.push_back(address);
    lastCaption = caption != nullptr ? caption : "";
    return openSucceeds;
  }
  void* OpenEditorWindow(void*) override { return nullptr; }
  void CloseEditorWindow() override {}
  void* NativeWindow() override { return nullptr; }
  bool ReadClipboardText(HeapString&) override { return false; }
  void ReservedHookC() override {}
  PIX_MemBitmap* LoadImageResource(int id, const char*) override {
    ++imagesLoaded;
    auto* bitmap = new PIX_MemBitmap(imageWidth, imageHeight);
    for (int i = 0; i < bitmap->RowPixels() * bitmap->PixelHeight(); ++i) {
      bitmap->PixelData()[i] = 0xFF000000u | static_cast<uint32_t>(id);
    }
    return bitmap;
  }

  std::vector<IBounds> presented;
  std::vector<std::string> menuTexts;
  std::vector<int> menuFlags;
  IBounds menuAnchor;
  int menusShown = 0;
  int menuChoice = -1;
  IControl* entryControl = nullptr;
  IBounds entryArea;
  std::string entryText;
  std::vector<std::string> addresses;
  std::string lastCaption;
  bool openSucceeds = false;
  int imagesLoaded = 0;
  int imageWidth = 360;
  int imageHeight = 104;
};
