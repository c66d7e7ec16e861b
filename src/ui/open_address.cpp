#include "ui/open_address.h"

#include "text/codepage.h"
#include "web/address.h"

namespace shareseek {

bool openWebAddress(DesktopServices& desktop, const Text& address) {
    if (!isWebAddress(address)) {
        desktop.showMessage(literal(u8"只能打开网页地址：") + address);
        return false;
    }
    desktop.openAddress(address);
    return true;
}

} // namespace shareseek
