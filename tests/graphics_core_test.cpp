// The editor core driven through a recording window host: the draw pass into
// a real canvas, dirty tracking, routing, values and the image cache.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/bitmap_control.h"
#include "graphics/graphics.h"
#include "graphics/image_cache.h"
#include "graphics/knob_control.h"
#include "imaging/sys_bitmap.h"
#include "tests/test_plugin.h"
#include "tests/test_window_host.h"

namespace {
// A control that records what reaches it.
class ProbeControl : public IControl {
 public:
  ProbeControl(IPluginBase* plug, const IBounds& rect, int param = -1,
               std::vector<std::string>* log = nullptr, const char* name = "")
      : IControl(plug, rect, param, IBlendSpec{}), log_(log), name_(name) {}
  bool Paint(IGraphics&) override {
    ++paints;
    Log("paint");
    return true;
  }
  void PointerDown(int x, int y, const IMouseKeys& keys) override {
    ++downs;
    Log("down");
    IControl::PointerDown(x, y, keys);
  }
  void PointerUp(int, int, const IMouseKeys&) override { Log("up"); }
  void PointerDrag(int, int, int dX, int dY, const IMouseKeys&) override {
    drags.push_back({dX, dY});
  }
  void PointerHover(int, int, const IMouseKeys&) override { ++hovers; }
  void PointerLeft() override { ++lefts; }
  bool KeyPressed(int, int, IEditorKey) override {
    ++keys;
    return true;
  }
  void AuxValueFromPlugIn(int entry, double normalized) override {
    auxEntries.push_back(entry);
    IControl::AuxValueFromPlugIn(entry, normalized);
  }

  int paints = 0, downs = 0, hovers = 0, lefts = 0, keys = 0;
  std::vector<std::pair<int, int>> drags;
  std::vector<int> auxEntries;

 private:
  void Log(const char* what) {
    if (log_ != nullptr) log_->push_back(name_ + std::string(":") + what);
  }
  std::vector<std::string>* log_;
  std::string name_;
};

// A plug-in whose gestures and edits land in one ordered log.
class LoggingPlugin : public TestPlugin {
 public:
  explicit LoggingPlugin(std::vector<std::string>* log) : TestPlugin(Setup()), log_(log) {
    for (int i = 0; i < 5; ++i) ParamAt(i)->DeclareDouble("p", 50, 0, 100, 0.01, "%");
  }
  void NotifyHostGestureBegin(int index) override {
    log_->push_back("begin " + std::to_string(index));
  }
  void NotifyHostGestureEnd(int index) override { log_->push_back("end " + std::to_string(index)); }

 private:
  std::vector<std::string>* log_;
};

class GraphicsCore : public ::testing::Test {
 protected:
  GraphicsCore() : plugin(TestPlugin::Setup()), host(&plugin) {
    for (int i = 0; i < 5; ++i) plugin.ParamAt(i)->DeclareDouble("p", 50, 0, 100, 0.01, "%");
  }
  ProbeControl* Attach(const IBounds& rect, int param = -1) {
    auto* control = new ProbeControl(&plugin, rect, param);
    host.AttachControl(control);
    return control;
  }
  void CleanAll() {
    for (int i = 0; i < host.ControlCount(); ++i) {
      host.ControlAtIndex(i)->MarkClean();
      host.ControlAtIndex(i)->MarkClean();
    }
  }
  TestPlugin plugin;
  TestWindowHost host;
};
}  // namespace

TEST_F(GraphicsCore, DrawWithoutControlsPresentsNothing) {
  EXPECT_TRUE(host.DrawArea(IBounds{0, 0, 10, 10}));
  EXPECT_TRUE(host.presented.empty());
}

TEST_F(GraphicsCore, StrictDrawPaintsWhatTheAreaTouches) {
  const IBounds area{100, 20, 200, 60};
  const struct {
    IBounds rect;
    bool painted;
  } cases[] = {
      {{200, 30, 220, 40}, true},                          // left edge on the area's right edge
      {{80, 30, 100, 40}, false},                          // right edge on the area's left edge
      {{120, 60, 130, 70}, true},                          // top edge on the area's bottom edge
      {{120, 10, 130, 20}, false},                         // bottom edge on the area's top edge
      {{150, 30, 160, 40}, true},  {{0, 0, 0, 0}, false},  // an empty rectangle is never painted
  };
  std::vector<ProbeControl*> controls;
  for (const auto& c : cases) controls.push_back(Attach(c.rect));
  auto* hidden = Attach({150, 30, 160, 40});
  hidden->SetHidden(true);

  EXPECT_TRUE(host.DrawArea(area));
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i]->paints, cases[i].painted ? 1 : 0) << i;
    EXPECT_FALSE(controls[i]->IsDirty()) << i;  // painted or not, every control is cleaned
  }
  EXPECT_EQ(hidden->paints, 0);
  ASSERT_EQ(host.presented.size(), 1u);
  EXPECT_EQ(host.presented[0], area);

  host.DrawArea(IBounds{});  // an empty area paints nothing but is still presented
  EXPECT_EQ(controls[4]->paints, 1);
  EXPECT_EQ(host.presented.size(), 2u);
}

TEST_F(GraphicsCore, DirtyAreaIsTheUnionOfDirtyControlsForTwoTicks) {
  auto* a = Attach({10, 10, 20, 20}, 0);
  auto* b = Attach({50, 5, 60, 15}, 1);
  auto* none = Attach({0, 0, 0, 0});
  CleanAll();
  IBounds area;
  EXPECT_FALSE(host.FindDirtyArea(area));

  a->ValueFromPlugIn(0.3);  // first value: becomes the default, no change
  b->ValueFromPlugIn(0.3);
  b->ValueFromPlugIn(0.8);
  none->MarkDirty(false);
  area = IBounds{};
  EXPECT_TRUE(host.FindDirtyArea(area));
  EXPECT_EQ(area, (IBounds{50, 5, 60, 15}));  // a value, once set, and the empty one add nothing

  for (int tick = 0; tick < 2; ++tick) {
    area = IBounds{};
    ASSERT_TRUE(host.FindDirtyArea(area)) << tick;
    host.DrawArea(area);
  }
  area = IBounds{};
  EXPECT_FALSE(host.FindDirtyArea(area));
  EXPECT_EQ(b->paints, 2);  // a changed value is painted on two ticks
}

TEST_F(GraphicsCore, NonStrictDrawRepaintsAroundEachDirtyControl) {
  host.strictDrawing = false;
  auto* back = Attach({0, 0, 100, 100});
  auto* over = Attach({10, 10, 30, 30});
  auto* apart = Attach({60, 60, 70, 70});
  CleanAll();
  over->ValueFromPlugIn(0.1);
  over->ValueFromPlugIn(0.9);
  host.DrawArea(IBounds{10, 10, 30, 30});
  EXPECT_EQ(back->paints, 1);  // overlaps the dirty control
  EXPECT_EQ(over->paints, 1);
  EXPECT_EQ(apart->paints, 0);
  EXPECT_EQ(host.DrawingArea(), (IBounds{10, 10, 30, 30}));

  back->MarkDirty(false);  // a dirty backdrop repaints everything visible
  host.DrawArea(IBounds{0, 0, 100, 100});
  EXPECT_EQ(apart->paints, 1);
  EXPECT_EQ(back->paints, 2);
}

TEST_F(GraphicsCore, PressesGoToTheTopmostVisibleEnabledControl) {
  auto* lower = Attach({0, 0, 50, 50});
  auto* upper = Attach({20, 20, 70, 70});
  EXPECT_EQ(host.ControlAt(30, 30, false), 1);
  upper->SetHidden(true);
  EXPECT_EQ(host.ControlAt(30, 30, false), 0);
  upper->SetHidden(false);
  upper->SetGreyed(true);
  EXPECT_EQ(host.ControlAt(30, 30, false), 0);
  EXPECT_EQ(host.ControlAt(30, 30, true), 0);
  upper->hoverWhenGreyed = true;
  EXPECT_EQ(host.ControlAt(30, 30, true), 1);
  EXPECT_EQ(host.ControlAt(80, 80, false), -1);
  EXPECT_EQ(lower->downs, 0);
}

TEST_F(GraphicsCore, GesturesBracketAPressAndCaptureHoldsThroughDrags) {
  std::vector<std::string> log;
  LoggingPlugin logging(&log);
  TestWindowHost editor(&logging);
  editor.AttachControl(new ProbeControl(&logging, {0, 0, 360, 104}, -1, &log, "back"));
  auto* knob = new ProbeControl(&logging, {10, 10, 66, 66}, 2, &log, "knob");
  editor.AttachControl(knob);

  editor.HandleMouseDown(20, 20, IMouseKeys{true});
  editor.HandleMouseDrag(25, 15, IMouseKeys{true});
  editor.HandleMouseDrag(25, 15, IMouseKeys{true});   // no movement: not delivered
  editor.HandleMouseDrag(300, 90, IMouseKeys{true});  // outside the knob, still captured
  editor.HandleMouseUp(300, 90, IMouseKeys{});
  EXPECT_EQ(log, (std::vector<std::string>{"begin 2", "knob:down", "knob:up", "end 2"}));
  ASSERT_EQ(knob->drags.size(), 2u);
  EXPECT_EQ(knob->drags[0], std::make_pair(5, -5));
  EXPECT_EQ(knob->drags[1], std::make_pair(275, 75));
  EXPECT_EQ(editor.CaptureIndex(), -1);

  log.clear();
  editor.HandleMouseDown(300, 90, IMouseKeys{true});  // the backdrop has no parameter
  editor.HandleMouseUp(300, 90, IMouseKeys{});
  EXPECT_EQ(log, (std::vector<std::string>{"back:down", "back:up"}));
}

TEST_F(GraphicsCore, DoubleClicksHoverAndKeys) {
  auto* back = Attach({0, 0, 360, 104});
  auto* knob = Attach({10, 10, 66, 66}, 0);
  EXPECT_FALSE(host.HandleDoubleClick(20, 20, IMouseKeys{}));
  knob->doubleClickAsDown = true;
  EXPECT_TRUE(host.HandleDoubleClick(20, 20, IMouseKeys{}));
  EXPECT_EQ(knob->downs, 1);
  EXPECT_EQ(host.CaptureIndex(), 1);
  host.HandleMouseUp(20, 20, IMouseKeys{});

  EXPECT_FALSE(host.HandleMouseHover(20, 20, IMouseKeys{}));  // hover is not tracked
  host.trackHover = true;
  EXPECT_TRUE(host.HandleMouseHover(20, 20, IMouseKeys{}));
  EXPECT_TRUE(host.HandleMouseHover(200, 90, IMouseKeys{}));
  EXPECT_EQ(knob->lefts, 1);  // moving onto the backdrop leaves the knob
  EXPECT_EQ(host.HoverIndex(), 0);
  host.HandleMouseLeave();
  EXPECT_EQ(host.HoverIndex(), -1);

  EXPECT_TRUE(host.HandleKeyDown(20, 20, kKeyUp));
  EXPECT_EQ(knob->keys, 1);
  EXPECT_FALSE(host.HandleKeyDown(200, 90, kKeyUp));  // the backdrop never takes keys
  EXPECT_EQ(back->keys, 0);
  auto* catcher = new ProbeControl(&plugin, {});
  host.keyCatcher = catcher;
  EXPECT_TRUE(host.HandleKeyDown(200, 90, kKeyDown));
  EXPECT_TRUE(host.HandleKeyDown(500, 500, kKeyDown));
  EXPECT_EQ(catcher->keys, 2);
}

TEST_F(GraphicsCore, ParameterValuesReachDirectAndFirstAuxiliaryLinks) {
  auto* control = Attach({0, 0, 10, 10}, 3);
  control->AddAuxParam(1);
  control->AddAuxParam(3);
  control->AddAuxParam(3);
  host.PushParamToControls(3, 250.0, false);  // beyond the maximum: normalized 1.0
  EXPECT_EQ(control->value, 1.0);
  EXPECT_EQ(control->auxEntries, std::vector<int>{1});
  EXPECT_EQ(control->AuxParamAt(1)->value, 1.0);
  EXPECT_EQ(control->AuxParamAt(2)->value, 0.0);
}

TEST_F(GraphicsCore, AValuePromptOffersAMenuOrAnEntryField) {
  // Controls ask the editor their plug-in has bound.
  auto* editor = new TestWindowHost(&plugin);
  plugin.BindEditor(editor);
  auto* control = new ProbeControl(&plugin, {100, 8, 156, 64}, 0);
  editor->AttachControl(control);
  control->noValuePrompt = false;
  editor->HandleMouseDown(120, 30, IMouseKeys{false, true});
  EXPECT_EQ(editor->entryControl, control);
  EXPECT_EQ(editor->entryText, "50.00");
  EXPECT_EQ(editor->entryArea, (IBounds{108, 28, 148, 44}));  // 40 by 16 around the centre

  IParameter* choice = plugin.ParamAt(1);
  choice->kind = kParamEnum;
  choice->minimum = 0;
  choice->maximum = 2;
  choice->value = 1;
  choice->AddDisplayText(0, "Soft");
  choice->AddDisplayText(2, "Hard");
  choice->AddDisplayText(1, "Mid");
  editor->menuChoice = 2;
  editor->AskParamValue(control, choice, control->drawRect);
  EXPECT_EQ(editor->menuTexts, (std::vector<std::string>{"Soft", "Mid", "Hard"}));
  EXPECT_EQ(editor->menuFlags, (std::vector<int>{0, IMenuEntry::kTicked, 0}));
  EXPECT_EQ(control->value, 1.0);  // entry 2 of 0..2
  EXPECT_EQ(plugin.automation.back().normalized, 1.0);
}

TEST_F(GraphicsCore, ChangeSizeStartsAFreshEditor) {
  Attach({0, 0, 10, 10});
  host.PrepareDrawing();
  host.ChangeSize(200, 50);
  EXPECT_EQ(host.ControlCount(), 0);
  ASSERT_NE(host.Canvas(), nullptr);
  EXPECT_EQ(host.Canvas()->PixelWidth(), 200);
  EXPECT_EQ(host.Canvas()->PixelHeight(), 50);
}

TEST_F(GraphicsCore, BackdropIsDecodedOnceAndPaintedUnderEverything) {
  constexpr int kImageId = 9104;  // unique to this test: the cache lives for the process
  TestWindowHost second(&plugin);
  Attach({0, 0, 10, 10});
  host.imageWidth = 20;
  host.imageHeight = 10;
  host.AttachBackdrop(kImageId, "background.png");
  second.AttachBackdrop(kImageId, "background.png");
  EXPECT_EQ(host.imagesLoaded + second.imagesLoaded, 1);
  ASSERT_EQ(host.ControlCount(), 2);
  EXPECT_EQ(host.ControlAtIndex(0)->drawRect, (IBounds{0, 0, 20, 10}));
  EXPECT_EQ(static_cast<IBitmapControl*>(second.ControlAtIndex(0))->strip.bitmap,
            FindCachedBitmap(kImageId));

  host.PrepareDrawing();
  host.DrawArea(IBounds{0, 0, 20, 10});
  PIX_SysBitmap* canvas = host.Canvas();
  EXPECT_EQ(canvas->PixelData()[5 * canvas->RowPixels() + 15], 0xFF000000u | kImageId);
}

TEST(ImageCache, TheFirstEntryOfAnIdWins) {
  auto* first = new PIX_MemBitmap(1, 1);
  auto* second = new PIX_MemBitmap(2, 2);
  CacheBitmap(first, 9200);
  CacheBitmap(second, 9200);
  EXPECT_EQ(FindCachedBitmap(9200), first);
  EXPECT_EQ(FindCachedBitmap(9201), nullptr);
}
