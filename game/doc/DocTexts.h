// Table texts of the document in GBK; readable texts in the comments.
#pragma once

namespace gamedoc {

// 分数倍数翻%d倍
inline constexpr char kTextMultiplierUp[] = "\xB7\xD6\xCA\xFD\xB1\xB6\xCA\xFD\xB7\xAD%d\xB1\xB6";
// 在牌上单击左键选中,单击右键出牌
inline constexpr char kTextPlayHelp[] =
    "\xD4\xDA\xC5\xC6\xC9\xCF\xB5\xA5\xBB\xF7\xD7\xF3\xBC\xFC\xD1\xA1\xD6\xD0,"
    "\xB5\xA5\xBB\xF7\xD3\xD2\xBC\xFC\xB3\xF6\xC5\xC6";
// 游戏中投诉
inline constexpr char kTextComplaintReason[] = "\xD3\xCE\xCF\xB7\xD6\xD0\xCD\xB6\xCB\xDF";
// %s托管了
inline constexpr char kTextTrustOn[] = "%s\xCD\xD0\xB9\xDC\xC1\xCB";
// %s回来了
inline constexpr char kTextTrustBack[] = "%s\xBB\xD8\xC0\xB4\xC1\xCB";

}  // namespace gamedoc
