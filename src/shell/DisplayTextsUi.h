// What the display-texts section asks of a front end beyond the shared
// editing screen: the two buttons beside the list that export the texts to
// a CSV file and import them from one. The buttons only set
// Session::BulkTextCommand (1 export, 2 import); the section's loop polls it.
#pragma once

namespace cfg {

class DisplayTextsUi {
public:
    virtual ~DisplayTextsUi() = default;
    // Shows (while the display texts are listed) or hides the two buttons.
    virtual void SetBulkTextButtons(bool visible) = 0;
};

}  // namespace cfg
