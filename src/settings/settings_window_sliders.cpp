#include "settings/settings_window_sliders.h"

#include <algorithm>
#include <span>

#include "forms/settings_window.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"

namespace lumora::settings {
namespace {

namespace key = settings::key;

struct SliderStep {
  int position;
  const char* label;
  const char* value;
};

constexpr SliderStep kSizeSteps[] = {
    {0, "窗口模式800×600", "800×600"},    {10, "窗口模式1024×768", "1024×768"},
    {20, "窗口模式1280×800", "1280×800"}, {30, "窗口模式1280×1024", "1280×1024"},
    {40, "窗口模式1440×900", "1440×900"}, {50, "窗口模式1680×1050", "1680×1050"},
};

constexpr SliderStep kColourSteps[] = {
    {0, "监视器4位颜色", "4"},      {10, "监视器8位颜色", "8"},     {20, "监视器16位颜色", "16"},
    {30, "监视器24位真彩色", "24"}, {40, "监视器32位真彩色", "32"},
};

constexpr char kFullScreenLabel[] = "全屏模式";

const SliderStep* StepAt(std::span<const SliderStep> steps, int position) {
  const auto found = std::find_if(steps.begin(), steps.end(), [&](const SliderStep& step) {
    return step.position == position;
  });
  return found == steps.end() ? nullptr : &*found;
}

bool MoveSliderTo(const char* slider, std::span<const SliderStep> steps, const Text& value) {
  const auto found = std::find_if(steps.begin(), steps.end(),
                                  [&](const SliderStep& step) { return value == step.value; });
  if (found == steps.end()) {
    return false;
  }
  SettingsControl(slider).SetSliderPosition(found->position);
  return true;
}

}  // namespace

bool MoveSizeSliderTo(const Text& size) {
  return MoveSliderTo(forms::settings_control::kSizeSlider, kSizeSteps, size);
}

bool MoveColourSliderTo(const Text& depth) {
  return MoveSliderTo(forms::settings_control::kColourSlider, kColourSteps, depth);
}

void SizeSliderChanged() {
  const int position = SettingsControl(forms::settings_control::kSizeSlider).SliderPosition();
  forms::Control label = SettingsControl(forms::settings_control::kSizeLabel);
  if (const SliderStep* step = StepAt(kSizeSteps, position)) {
    label.SetText(step->label);
    settings::CurrentConnectionSettings().Set(key::kWindowSize, step->value);
  } else if (position == forms::kSizeSliderMaximum) {
    label.SetText(kFullScreenLabel);
  }
  const bool fullScreen = position >= forms::kSizeSliderMaximum;
  SetSettingsCheck(forms::settings_control::kWindowMode, !fullScreen);
  SetSettingsCheck(forms::settings_control::kFullScreenMode, fullScreen);
}

void ColourSliderChanged() {
  const int position = SettingsControl(forms::settings_control::kColourSlider).SliderPosition();
  if (const SliderStep* step = StepAt(kColourSteps, position)) {
    SettingsControl(forms::settings_control::kColourLabel).SetText(step->label);
    settings::CurrentConnectionSettings().Set(key::kColourDepth, step->value);
  }
}

void WindowedModeSelected() {
  settings::ConnectionSettings& current = settings::CurrentConnectionSettings();
  current.Set(key::kWindowSize, settings::ReadSetting(settings::kSessionSection, key::kWindowSize));
  MoveSizeSliderTo(current.Get(key::kWindowSize));
  SizeSliderChanged();
  ShowSettingsTip("远程窗口模式被开启");
}

void FullScreenModeSelected() {
  SettingsControl(forms::settings_control::kSizeSlider)
      .SetSliderPosition(forms::kSizeSliderMaximum);
  SettingsControl(forms::settings_control::kSizeLabel).SetText(kFullScreenLabel);
  ShowSettingsTip("远程全屏模式被开启");
}

}  // namespace lumora::settings
