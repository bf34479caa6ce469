#include "forms/images/images.h"

#include "forms/images/embedded.h"

namespace lumora::forms::images {

ImageData LoginIcon() {
  return embedded::login_ico;
}
ImageData MainIcon() {
  return embedded::main_ico;
}
ImageData EditorIcon() {
  return embedded::editor_ico;
}
ImageData SettingsIcon() {
  return embedded::settings_ico;
}
ImageData EditorPicture() {
  return embedded::editor_picture_ico;
}
ImageData SettingsPicture() {
  return embedded::settings_picture_ico;
}
ImageData Logo() {
  return embedded::logo_png;
}

std::span<const ImageData> ToolbarImages() {
  static const ImageData kImages[] = {
      embedded::toolbar_0_connect_png, embedded::toolbar_1_about_png,
      embedded::toolbar_2_modify_png,  embedded::toolbar_3_refresh_png,
      embedded::toolbar_4_add_png,     embedded::toolbar_5_clear_png,
      embedded::toolbar_6_delete_png,  embedded::toolbar_7_settings_png,
  };
  return kImages;
}

ImageList ToolbarImageList() {
  return {kToolbarImageWidth, kToolbarImageHeight, ToolbarImages()};
}

std::span<const ImageData> RowIcons() {
  static const ImageData kImages[] = {
      embedded::row_0_offline_png,
      embedded::row_1_online_png,
      embedded::row_2_checking_png,
      embedded::row_3_new_png,
  };
  return kImages;
}

ImageList RowIconList() {
  return {kRowIconSize, kRowIconSize, RowIcons()};
}

}  // namespace lumora::forms::images
