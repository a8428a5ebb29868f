// Every text the table view shows of its own, GBK (code page 936) as escaped bytes;
// the comment beside each is the text itself.
#pragma once

#include "resource.h"

namespace viewtext {

// the table's Chinese face
inline constexpr char kFace[] = VESK_FACE_SONG;
// 将由服务器托管游戏，是否继续？
inline constexpr char kAskTrustee[] =
    "\xBD\xAB\xD3\xC9\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xD0\xB9\xDC\xD3\xCE\xCF\xB7\xA3\xAC\xCA\xC7\xB7\xF1\xBC\xCC\xD0\xF8"
    "\xA3\xBF";
// 不出
inline constexpr char kPassText[] = "\xB2\xBB\xB3\xF6";
// 地主
inline constexpr char kDeclarerText[] = "\xB5\xD8\xD6\xF7";
// 底分: %d
inline constexpr char kBaseFmt[] = "\xB5\xD7\xB7\xD6: %d";
// 倍数: %d
inline constexpr char kMultFmt[] = "\xB1\xB6\xCA\xFD: %d";
// 明牌
inline constexpr char kShownText[] = "\xC3\xF7\xC5\xC6";
// 截图文件保存在:%s
inline constexpr char kScreenshotSavedFmt[] = "\xBD\xD8\xCD\xBC\xCE\xC4\xBC\xFE\xB1\xA3\xB4\xE6\xD4\xDA:%s";
// 等待其他玩家开始... (string 3002 when the library has none)
inline constexpr char kWaitStart[] = "\xB5\xC8\xB4\xFD\xC6\xE4\xCB\xFB\xCD\xE6\xBC\xD2\xBF\xAA\xCA\xBC...";
// 不叫
inline constexpr char kBidNone[] = "\xB2\xBB\xBD\xD0";
// 1分
inline constexpr char kBid1[] = "1\xB7\xD6";
// 2分
inline constexpr char kBid2[] = "2\xB7\xD6";
// 3分
inline constexpr char kBid3[] = "3\xB7\xD6";
// 上轮
inline constexpr char kCapLastRound[] = "\xC9\xCF\xC2\xD6";
// 记分
inline constexpr char kCapScore[] = "\xBC\xC7\xB7\xD6";
// 理牌
inline constexpr char kCapSort[] = "\xC0\xED\xC5\xC6";
// 截图
inline constexpr char kCapScreenshot[] = "\xBD\xD8\xCD\xBC";
// 托管
inline constexpr char kCapTrustee[] = "\xCD\xD0\xB9\xDC";
// 解托
inline constexpr char kCapCancelTrustee[] = "\xBD\xE2\xCD\xD0";
// 逆
inline constexpr char kCapCcw[] = "\xC4\xE6";
// 顺
inline constexpr char kCapCw[] = "\xCB\xB3";
// 设置
inline constexpr char kCapSettings[] = "\xC9\xE8\xD6\xC3";
// 调查
inline constexpr char kCapSurvey[] = "\xB5\xF7\xB2\xE9";
// 开始
inline constexpr char kCapStart[] = "\xBF\xAA\xCA\xBC";
// 出牌
inline constexpr char kCapTakeOut[] = "\xB3\xF6\xC5\xC6";
// 提示
inline constexpr char kCapHint[] = "\xCC\xE1\xCA\xBE";
// 服务器托管
inline constexpr char kTipTrustee[] = "\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xD0\xB9\xDC";
// 解除托管
inline constexpr char kTipCancelTrustee[] = "\xBD\xE2\xB3\xFD\xCD\xD0\xB9\xDC";
// 切换到逆时针出牌
inline constexpr char kTipCcw[] = "\xC7\xD0\xBB\xBB\xB5\xBD\xC4\xE6\xCA\xB1\xD5\xEB\xB3\xF6\xC5\xC6";
// 切换到顺时针出牌
inline constexpr char kTipCw[] = "\xC7\xD0\xBB\xBB\xB5\xBD\xCB\xB3\xCA\xB1\xD5\xEB\xB3\xF6\xC5\xC6";
// Trebbin第%d门派 (a seat's ranked tier)
inline constexpr char kTierFmt[] = "Trebbin\xB5\xDA%d\xC3\xC5\xC5\xC9";
// 第%d (the tier badge at a seat)
inline constexpr char kTierBadgeFmt[] = "\xB5\xDA%d";
inline constexpr const char* kBidTexts[4] = {kBidNone, kBid1, kBid2, kBid3};

}  // namespace viewtext
