#ifndef KESTRANE_ABOUT_BOX_H
#define KESTRANE_ABOUT_BOX_H

#include "resource.h"
#include "window.h"

namespace kestrane {

// The About box: its template does everything; OK, Enter and Escape close it.
// It opens centred on the window that asked for it.
class AboutBox : public fw::Dialog {
public:
    AboutBox() : fw::Dialog(IDD_ABOUT) {}

protected:
    bool onInitDialog() override {
        centreOnOwner();
        return true;
    }
};

}  // namespace kestrane

#endif
