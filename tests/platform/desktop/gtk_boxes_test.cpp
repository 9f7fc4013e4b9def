// GTK message boxes without a display: answered from the script or the
// default at once, never waiting for a person.
#include "platform/desktop/gtk_boxes.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/message_box.h"

namespace plat::desktop {

TEST(GtkBoxes, WithoutADisplayBoxesAreAnsweredUnattended) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  cGtkBoxes boxes;
  boxes.Open();
  EXPECT_FALSE(boxes.IsShowingDialogs());
  SetScriptedBoxAnswers({IDYES});
  EXPECT_EQ(boxes.Ask("q", "c", MB_YESNO), IDYES);
  EXPECT_EQ(boxes.Ask("q", "c", MB_YESNO), IDNO);
  EXPECT_EQ(boxes.Ask("q", "c", MB_OKCANCEL), IDCANCEL);
  boxes.Close();
}

}  // namespace plat::desktop
