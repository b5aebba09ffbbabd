#include "dialog_failure.h"

namespace kestrane {

WString dialogFailureText(const wchar_t* dialog, unsigned long code) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    WString hex;
    do {
        hex.insert(hex.begin(), kDigits[code % 16]);
        code /= 16;
    } while (code != 0);
    if (hex.size() < 4) hex.insert(0, 4 - hex.size(), L'0');
    return WString(L"Cannot show the ") + dialog + L" dialog.\n\nError code 0x" + hex + L".";
}

}  // namespace kestrane
