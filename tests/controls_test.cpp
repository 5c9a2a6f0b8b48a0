// Controls: value flow and dirtiness, frame choice, knob gestures, the link
// area, and the way values travel between a plug-in instance and its knobs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "effect/grittbox.h"
#include "graphics/bitmap_control.h"
#include "graphics/knob_control.h"
#include "graphics/strip_frame.h"
#include "graphics/url_control.h"
#include "tests/test_plugin.h"
#include "tests/test_window_host.h"

namespace {
IBitmapStrip KnobStrip(bool across = false) {
  IBitmapStrip strip;
  strip.width = across ? 3584 : 56;
  strip.height = across ? 56 : 3584;
  strip.frames = 64;
  strip.framesAcross = across;
  return strip;
}

class Controls : public ::testing::Test {
 protected:
  Controls() : plugin(TestPlugin::Setup()) {
    for (int i = 0; i < 5; ++i) plugin.ParamAt(i)->DeclareDouble("p", 50, 0, 100, 0.01, "%");
  }
  TestPlugin plugin;
};
}  // namespace

TEST_F(Controls, ValuesFromThePlugInAndTheTwoPassLifeCycle) {
  IKnobMultiControl knob(&plugin, 10, 8, 0, KnobStrip());
  EXPECT_TRUE(knob.IsDirty());  // new controls are painted once
  knob.MarkClean();
  EXPECT_FALSE(knob.IsDirty());

  knob.ValueFromPlugIn(0.7);
  EXPECT_EQ(knob.value, 0.7);
  EXPECT_EQ(knob.defaultValue, 0.7);
  EXPECT_FALSE(knob.redrawPending);
  knob.ValueFromPlugIn(0.7);
  EXPECT_FALSE(knob.IsDirty());
  knob.ValueFromPlugIn(0.2);
  EXPECT_TRUE(knob.IsDirty());
  EXPECT_TRUE(knob.redrawPending);
  knob.MarkClean();
  EXPECT_TRUE(knob.IsDirty());
  knob.MarkClean();
  EXPECT_FALSE(knob.IsDirty());
  EXPECT_TRUE(plugin.automation.empty());  // values from the plug-in are not echoed
}

TEST_F(Controls, MarkDirtyClampsAndTellsThePlugIn) {
  IKnobMultiControl knob(&plugin, 0, 0, 2, KnobStrip());
  const struct { double value, stored; } cases[] = {{1.3, 1.0}, {-0.2, 0.0}, {0.25, 0.25}};
  for (const auto& c : cases) {
    knob.value = c.value;
    knob.MarkDirty(true);
    EXPECT_EQ(knob.value, c.stored);
    EXPECT_EQ(plugin.automation.back().index, 2);
    EXPECT_EQ(plugin.automation.back().normalized, c.stored);
    EXPECT_DOUBLE_EQ(plugin.ParamAt(2)->value, c.stored * 100);
  }
}

TEST_F(Controls, HitGreyingAndTheRectangleOfAKnob) {
  IKnobMultiControl knob(&plugin, 8, 8, 0, KnobStrip());
  EXPECT_EQ(knob.drawRect, (IBounds{8, 8, 64, 64}));
  EXPECT_TRUE(knob.Hit(8, 8));
  EXPECT_FALSE(knob.Hit(64, 10));
  EXPECT_FALSE(knob.Hit(10, 64));
  IKnobMultiControl nowhere(&plugin, 0, 0, 0, KnobStrip());
  nowhere.hitRect = IBounds{};
  EXPECT_FALSE(nowhere.Hit(0, 0));

  knob.blend.weight = 0.6f;
  knob.SetGreyed(true);
  EXPECT_EQ(knob.blend.weight, 0.25f);
  knob.SetGreyed(false);
  EXPECT_EQ(knob.blend.weight, 1.0f);
}

TEST_F(Controls, KnobDragAndWheel) {
  const struct {
    int dY;
    IMouseKeys keys;
    double expected;
  } drags[] = {
      {-56, IMouseKeys{}, 0.75},
      {-56, IMouseKeys{true, false, false, true}, 0.525},  // control held: fine
      {-56, IMouseKeys{true, false, true}, 0.525},         // shift held: fine
      {-1000, IMouseKeys{}, 1.0},
      {56, IMouseKeys{}, 0.25},
  };
  for (const auto& d : drags) {
    IKnobMultiControl knob(&plugin, 10, 8, 1, KnobStrip());
    knob.value = 0.5;
    knob.PointerDrag(0, 0, 0, d.dY, d.keys);
    EXPECT_DOUBLE_EQ(knob.value, d.expected) << d.dY;
    EXPECT_EQ(plugin.automation.back().index, 1);
  }
  IBitmapStrip wide = KnobStrip();
  wide.width = 100;
  IKnobMultiControl horizontal(&plugin, 0, 0, 0, wide, IKnobControl::kHorizontal, 1.0);
  horizontal.value = 0.5;
  horizontal.PointerDrag(0, 0, 25, -999, IMouseKeys{});
  EXPECT_DOUBLE_EQ(horizontal.value, 0.75);

  IKnobMultiControl knob(&plugin, 10, 8, 1, KnobStrip());
  knob.value = 0.5;
  knob.PointerWheel(0, 0, IMouseKeys{}, 1);
  EXPECT_DOUBLE_EQ(knob.value, 0.51);
  knob.PointerWheel(0, 0, IMouseKeys{}, -3);
  EXPECT_DOUBLE_EQ(knob.value, 0.48);
  knob.PointerWheel(0, 0, IMouseKeys{false, false, true}, 5);
  EXPECT_DOUBLE_EQ(knob.value, 0.485);
}

TEST_F(Controls, DoubleClickRestoresTheFirstValue) {
  IKnobMultiControl knob(&plugin, 10, 8, 3, KnobStrip());
  knob.PointerDoubleClick(0, 0, IMouseKeys{});
  EXPECT_TRUE(plugin.automation.empty());  // no value yet: nothing to restore
  knob.ValueFromPlugIn(0.3);
  knob.ValueFromPlugIn(0.9);
  knob.PointerDoubleClick(0, 0, IMouseKeys{});
  EXPECT_EQ(knob.value, 0.3);
  ASSERT_FALSE(plugin.automation.empty());
  EXPECT_EQ(plugin.automation.back().normalized, 0.3);
}

TEST(StripFrame, FrameChoiceForStackedAndSideBySideStrips) {
  const struct {
    double value;
    int frame, offset;
  } cases[] = {{0.0, 1, 0}, {0.5, 33, 1792}, {1.0, 64, 3528}, {-3.0, 1, 0}, {7.0, 64, 3528}};
  for (const auto& c : cases) {
    const IStripFrame stacked = StripFrameFor(KnobStrip(false), c.value);
    EXPECT_EQ(stacked.frame, c.frame) << c.value;
    EXPECT_EQ(stacked.sourceX, 0);
    EXPECT_EQ(stacked.sourceY, c.offset);
    const IStripFrame across = StripFrameFor(KnobStrip(true), c.value);
    EXPECT_EQ(across.sourceX, c.offset);
    EXPECT_EQ(across.sourceY, 0);
  }
  IBitmapStrip single;
  single.width = single.height = 40;
  single.frames = 1;
  const IStripFrame only = StripFrameFor(single, 0.9);
  EXPECT_EQ(only.frame, 1);
  EXPECT_EQ(only.sourceY, 0);
}

TEST_F(Controls, LinkAreaFallsBackToItsBackupAddress) {
  auto* editor = new TestWindowHost(&plugin);
  plugin.BindEditor(editor);
  const struct {
    const char* address;
    bool opens;
    std::vector<std::string> tried;
  } cases[] = {
      {"", true, {"https://backup.example/"}},
      {"maker.example", false, {"maker.example", "https://backup.example/"}},
      {"maker.example", true, {"maker.example"}},
  };
  for (const auto& c : cases) {
    IURLControl link(&plugin, IBounds{0, 80, 360, 104}, c.address, "https://backup.example/",
                     "ERROR: Could not connect to server");
    editor->addresses.clear();
    editor->openSucceeds = c.opens;
    link.PointerDown(5, 90, IMouseKeys{true});
    EXPECT_EQ(editor->addresses, c.tried) << c.address;
    EXPECT_EQ(editor->lastCaption, "ERROR: Could not connect to server");
  }
}

namespace {
struct AutomationHost {
  static std::vector<std::pair<int, float>>* automated;
  static VstIntPtr VSTCALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                        float opt) {
    if (opcode == audioMasterAutomate) automated->push_back({index, opt});
    return 0;
  }
};
std::vector<std::pair<int, float>>* AutomationHost::automated = nullptr;
}  // namespace

TEST(ControlsWithAnInstance, HostValuesReachKnobsAndKnobDragsReachTheHost) {
  std::vector<std::pair<int, float>> automated;
  AutomationHost::automated = &automated;
  Grittbox effect(&AutomationHost::Callback);
  auto* editor = new TestWindowHost(&effect);
  auto* knob = new IKnobMultiControl(&effect, 10, 8, Grittbox::kFuzz, KnobStrip());
  editor->AttachControl(new IKnobMultiControl(&effect, 80, 8, Grittbox::kMix, KnobStrip()));
  editor->AttachControl(knob);
  effect.BindEditor(editor);
  EXPECT_EQ(knob->value, 0.5);  // binding hands every value over
  EXPECT_EQ(effect.Effect().flags & effFlagsHasEditor, effFlagsHasEditor);
  EXPECT_EQ(effect.EditorRect().right, 360);
  EXPECT_EQ(effect.EditorRect().bottom, 104);

  effect.Effect().setParameter(&effect.Effect(), Grittbox::kFuzz, 0.8f);
  EXPECT_FLOAT_EQ(static_cast<float>(knob->value), 0.8f);
  EXPECT_TRUE(knob->IsDirty());

  editor->HandleMouseDown(20, 20, IMouseKeys{true});
  editor->HandleMouseDrag(20, 20 - 28, IMouseKeys{true});
  editor->HandleMouseUp(20, 20 - 28, IMouseKeys{});
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].first, Grittbox::kFuzz);
  EXPECT_NEAR(automated[0].second, 0.925f, 1e-6);
  EXPECT_NEAR(effect.ParamAt(Grittbox::kFuzz)->value, 92.5, 1e-4);
  EXPECT_NEAR(effect.Coefficient().fuzzDepth, 0.4625, 1e-6);

  // A resized editor reports its new size to the host's next query.
  editor->ChangeSize(400, 120);
  EXPECT_EQ(effect.EditorRect().right, 400);
  EXPECT_EQ(effect.EditorRect().bottom, 120);
  EXPECT_EQ(editor->ControlCount(), 0);
}
