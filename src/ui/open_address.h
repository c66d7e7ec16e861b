#pragma once

#include "seams/desktop_services.h"

// Opening an address in the browser. Rows come from pages we do not control, so only web
// addresses are handed on: a file, a desktop entry or a share on the network would be
// opened in the user's name with one double-click.
namespace shareseek {

// Opens `address` when it is a web address; otherwise opens nothing and says so
// ("只能打开网页地址：<address>"). True when it was handed to the browser.
bool openWebAddress(DesktopServices& desktop, const Text& address);

} // namespace shareseek
