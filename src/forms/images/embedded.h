// The image files of this directory as compiled in by embed_images.cmake, one per file, named
// after the file. A file missing from the directory shows up as a link error.
#pragma once

#include "forms/window_definition.h"

namespace lumora::forms::images::embedded {

extern const ImageData login_ico;
extern const ImageData main_ico;
extern const ImageData editor_ico;
extern const ImageData editor_picture_ico;
extern const ImageData settings_ico;
extern const ImageData settings_picture_ico;
extern const ImageData logo_png;
extern const ImageData toolbar_0_connect_png;
extern const ImageData toolbar_1_about_png;
extern const ImageData toolbar_2_modify_png;
extern const ImageData toolbar_3_refresh_png;
extern const ImageData toolbar_4_add_png;
extern const ImageData toolbar_5_clear_png;
extern const ImageData toolbar_6_delete_png;
extern const ImageData toolbar_7_settings_png;
extern const ImageData row_0_offline_png;
extern const ImageData row_1_online_png;
extern const ImageData row_2_checking_png;
extern const ImageData row_3_new_png;

}  // namespace lumora::forms::images::embedded
