// The complaint dialogs' rules without windows: the records copied from the server's frames
// (only the bytes a frame holds), the countdown and keep-alive timing, and the texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace indict {

const size_t PROMPT_RECORD = 20;  // header (12) + countdown ms + keep-alive ms
const size_t RESULT_RECORD = 20;  // header (12) + result flag + outcome code
const size_t FEE_RECORD = 24;     // header (8) + member fee + non-member fee + two words
const uint32_t MIN_KEEPALIVE_MS = 1000;

// Copies up to `want` bytes of a frame into `out`, no more than the frame holds (its header
// and body length), and zero-fills the rest. False without a readable header.
bool CopyFrameHead(const uint8_t* frame, uint8_t* out, size_t want);
uint32_t ReadWord(const uint8_t* record, size_t offset);

struct Prompt {
  int seconds = 0;
  uint32_t keepAliveMs = MIN_KEEPALIVE_MS;
};
// The prompt record's countdown in whole seconds and its keep-alive period, raised to one
// second (a shorter period would flood the server).
Prompt ReadPrompt(const uint8_t* promptRecord);

// "本窗口&<seconds>秒后将自动关闭"
std::string CountdownText(int seconds);
// The farmer's prompt text with the two fees.
std::string PromptText(uint32_t memberFee, uint32_t nonMemberFee);
// The texts after the buttons and the countdown.
std::string WaitServerText();
std::string DeclinedText();
std::string TimedOutText();
// The outcome's text: the declarer's wait dialog (wait) or a farmer's dialog.
std::string ResultText(bool wait, uint32_t code, bool complained);

}  // namespace indict
