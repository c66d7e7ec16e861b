#include "search/site_catalogue.h"

#include "text/codepage.h"
#include "text/numbers.h"
#include "text/percent_encoding.h"
#include "text/text_ops.h"

namespace shareseek {
namespace {

const Text& parameterSeparator() {
    static const Text separator(".N.*");
    return separator;
}

} // namespace

const std::array<Site, builtInSiteCount>& siteCatalogue() {
    static const std::array<Site, builtInSiteCount> sites{{
        {1, u8"选择框_百度", u8"百度网盘", "pan.baidu.com"},
        {2, u8"选择框_华为", u8"华为网盘", "dl.vmall.com"},
        {3, u8"选择框_迅雷", u8"迅雷快传", "kuai.xunlei.com"},
        {4, u8"选择框_旋风", u8"QQ旋风", "fenxiang.qq.com"},
        {5, u8"选择框_360", u8"360云盘", "yunpan.cn"},
        {6, u8"选择框_千易", u8"千易网盘", "1000eb.com"},
        {7, u8"选择框_盛大", u8"盛大网盘", "everbox.com"},
        {8, u8"选择框_爱问", u8"爱问共享", "ishare.iask.sina.com.cn"},
        {9, u8"选择框_CSDN", u8"CSDN", "download.csdn.net"},
        {10, u8"选择框_金山", u8"金山快盘", "kuaipan.cn"},
        {11, u8"选择框_千脑", u8"千脑网盘", "qiannao.com"},
        {12, u8"选择框_115", u8"115网盘", "115.com"},
        {13, u8"选择框_城通", u8"城通网盘", "ctdisk.com"},
        {14, u8"选择框_vdisk", u8"vdisk威盘", "vdisk.cn"},
        {15, u8"选择框_一木禾", u8"一木禾网盘", "yimuhe.com"},
        {16, u8"选择框_163", u8"163网盘", "163disk.com"},
        {17, u8"选择框_126", u8"126disk网盘", "126disk.com"},
        {18, u8"选择框_纳米", u8"纳米盘", "namipan.com"},
        {19, u8"选择框_400", u8"400disk网盘", "400disk.com"},
        {20, u8"选择框_迅载", u8"迅载网盘", "xunzai.com"},
        {21, u8"选择框_GXP", u8"GXP网盘", "gxp.cc"},
        {22, u8"选择框_good", u8"good.gd", "good.gd"},
    }};
    return sites;
}

Text shareHostOf(int siteIndex) {
    if (siteIndex < 1 || siteIndex > builtInSiteCount)
        return Text();
    return Text(siteCatalogue()[static_cast<std::size_t>(siteIndex - 1)].shareHost);
}

Text buildWorkerParameter(int siteIndex, const Text& extraHost) {
    return decimalText(siteIndex) + parameterSeparator() + extraHost;
}

WorkerSite parseWorkerParameter(const Text& parameter) {
    const TextList pieces = separate(parameter, parameterSeparator());
    WorkerSite site;
    site.siteIndex = pieces.empty() ? 0 : integerValue(numericValue(pieces[0]));
    const Text host = pieces.size() >= 2 ? pieces[1] : Text();
    site.shareHost = site.siteIndex >= 1 && site.siteIndex <= builtInSiteCount
                         ? shareHostOf(site.siteIndex)
                         : host;
    return site;
}

Text encodeKeyword(const Text& keyword, bool keepLiterals, bool asUtf8) {
    const std::string bytes = asUtf8 ? textToUtf8(keyword) : keyword.bytes();
    return Text(percentEncode(bytes, [keepLiterals](unsigned char byte) {
        return keepLiterals && ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                                (byte >= 'a' && byte <= 'z') || byte == '-' || byte == '.');
    }));
}

Text resultsPageAddress(std::string_view searchHost, const Text& shareHost,
                        const Text& encodedKeyword, int pageOffset) {
    return Text("http://") + Text(searchHost) + Text("/s?wd=site%3A") + shareHost + Text("%20") +
           encodedKeyword + Text("&pn=") + decimalText(pageOffset) +
           Text("&rn=50&ie=utf-8&rsv_page=1");
}

} // namespace shareseek
