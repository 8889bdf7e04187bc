// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace shell {

// Tells screen readers what a screen says when it opens: each screen is a dialog, whose
// own texts a screen reader reads out as it appears, where it would pass over those of a
// plain window. A dialog's description reads its labelled fields, each label with the
// text of the field it labels (QLabel::setBuddy), for fields that no focus reaches.
// Only the screens on show are offered as the application's windows, not one being left
// in a hand-over. Takes effect for the screens made after the first call.
void makeScreensAccessible();

}  // namespace shell
