#include "ui/startup.h"

#include "search/endpoints.h"
#include "text/codepage.h"
#include "text/markers.h"
#include "text/numbers.h"
#include "ui/open_address.h"
#include "ui/site_selection.h"
#include "web/http_exchange.h"

namespace shareseek {

using namespace control;

Text forumAddress(const std::string& forumHost, std::string_view path) {
    return Text("http://") + Text(forumHost) + Text(path);
}

Startup::Startup(std::shared_ptr<SearchSession> session, DesktopServices& desktop,
                 SkinLibrary& skins, std::string forumHost, UserFiles files,
                 HttpLimits updateLimits)
    : session_(std::move(session)), desktop_(desktop), skins_(skins),
      forumHost_(std::move(forumHost)), files_(std::move(files)), updateLimits_(updateLimits) {}

bool Startup::run() {
    applyRandomSkin();
    if (!checkForUpdate())
        return false;
    // The result lock is part of the session, which exists from here to the last worker's
    // end, so no worker can outlive it.
    loadExtraHosts();
    fillCheckBoxTable(*session_);
    return true;
}

// The skins are part of the program, so no library file is written beside it.
void Startup::applyRandomSkin() {
    desktop_.seedRandom(desktop_.tickCount());
    const int number = desktop_.randomBetween(0, skinCount);
    if (number == 0) {
        skins_.attachRes(nullptr, 0, Text(), 0, 0, 0);
    } else {
        const Bytes skin = skinBytes(number);
        skins_.attachRes(reinterpret_cast<const unsigned char*>(skin.data()),
                         static_cast<int>(skin.size()), Text(), 0, 0, 0);
    }
    skins_.setAero(1);
}

bool Startup::checkForUpdate() {
    Controls& controls = *session_->controls;
    const Bytes page = fetch(forumAddress(forumHost_, endpoints::updatePagePath), updateLimits_);
    controls.setText(标签5,
                     extractBetween(toText(page), literal(u8"最新版本→"), literal(u8"←完毕！")));
    const int latest = integerValue(controls.text(标签5));
    const int local = integerValue(controls.text(标签4));
    // Equal or newer: nothing to ask; the window is about to be shown and made active.
    if (local >= latest)
        return true;
    const MessageAnswer answer = desktop_.showMessage(
        literal(u8"当前网盘搜索灵匣软件已经有了更新，进入下载地址下载赶紧更新吧"),
        MessageButtons::yesNo);
    if (answer != MessageAnswer::yes)
        return true;
    openWebAddress(desktop_, forumAddress(forumHost_, endpoints::downloadPagePath));
    return false;
}

void Startup::loadExtraHosts() {
    // The user's own copy; while there is none, a list saved beside the program before.
    std::optional<Bytes> saved = desktop_.readFile(files_.hostList);
    if (!saved && files_.hostListBeside)
        saved = desktop_.readFile(*files_.hostListBeside);
    session_->extraHosts = saved ? toText(*saved) : Text();
}

} // namespace shareseek
