#pragma once

#include "ui/skins.h"

namespace shareseek {

// Our skins dress the whole application through its palette.
class QtSkinLibrary : public SkinLibrary {
public:
    void attachRes(const unsigned char* skin, int length, const Text& password, int a, int b,
                   int c) override;
    // Translucent frames are not ours to draw here; the call does nothing.
    void setAero(int enabled) override;
};

} // namespace shareseek
