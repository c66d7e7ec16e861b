#include "search/row_count.h"

#include "text/codepage.h"
#include "text/numbers.h"

namespace shareseek {

void showRowCount(Controls& controls) {
    static const Text caption = literal(u8"资源数：");
    controls.setText(control::标签2,
                     caption + decimalText(controls.rowCount(control::超级列表框1)));
}

} // namespace shareseek
