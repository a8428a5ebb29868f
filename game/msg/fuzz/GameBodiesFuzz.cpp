// Every game body decoder over arbitrary bytes: the first byte picks the decoder, the
// rest is the body. What decodes must encode to a body that decodes to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "GameBodies.h"

using namespace gamemsg;

namespace {

template <class T>
void RoundTrip(const std::optional<T>& m, std::optional<T> (*decode)(const uint8_t*, size_t)) {
  if (!m) return;
  Bytes once = Encode(*m);
  auto again = decode(once.data(), once.size());
  if (!again || Encode(*again) != once) std::abort();
}

template <class T>
void WithStatus(const std::optional<T>& m, std::optional<T> (*decode)(uint32_t, const uint8_t*, size_t), uint32_t s) {
  if (!m) return;
  Bytes once = Encode(*m);
  auto again = decode(s, once.data(), once.size());
  if (!again || Encode(*again) != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t* b = data + 1;
  size_t n = size - 1;
  switch (data[0] % 25) {
    case 0:
      RoundTrip(DecodeReadyNotice(b, n), DecodeReadyNotice);
      break;
    case 1:
      RoundTrip(DecodeReadyRequest(b, n), DecodeReadyRequest);
      break;
    case 2:
      RoundTrip(DecodeDeal(b, n), DecodeDeal);
      break;
    case 3:
      RoundTrip(DecodeWatchPermission(b, n), DecodeWatchPermission);
      break;
    case 4:
      RoundTrip(DecodeAskWatchPermission(b, n), DecodeAskWatchPermission);
      break;
    case 5:
      RoundTrip(DecodeSeatValues(b, n), DecodeSeatValues);
      break;
    case 6:
      RoundTrip(DecodePlayerStates(b, n), DecodePlayerStates);
      break;
    case 7:
      RoundTrip(DecodeBidNotice(b, n), DecodeBidNotice);
      break;
    case 8:
      RoundTrip(DecodeBidRequest(b, n), DecodeBidRequest);
      break;
    case 9:
      RoundTrip(DecodeBottomCards(b, n), DecodeBottomCards);
      break;
    case 10:
      RoundTrip(DecodePlay(b, n), DecodePlay);
      break;
    case 11:
      WithStatus(DecodeShowCards(n, b, n), DecodeShowCards, static_cast<uint32_t>(n));
      break;
    case 12:
      WithStatus(DecodeActionError(n, b, n), DecodeActionError, static_cast<uint32_t>(n));
      break;
    case 13:
      RoundTrip(DecodePause(b, n), DecodePause);
      break;
    case 14:
      RoundTrip(DecodeTimeout(b, n), DecodeTimeout);
      break;
    case 15:
      RoundTrip(DecodeHandOver(b, n), DecodeHandOver);
      break;
    case 16:
      RoundTrip(DecodeLeaveRequest(b, n), DecodeLeaveRequest);
      break;
    case 17:
      RoundTrip(DecodeLeaveAnswer(b, n), DecodeLeaveAnswer);
      break;
    case 18:
      RoundTrip(DecodeTrusteeshipRequest(b, n), DecodeTrusteeshipRequest);
      break;
    case 19:
      RoundTrip(DecodeComplaint(b, n), DecodeComplaint);
      break;
    case 20:
      RoundTrip(DecodeNetSkinData(b, n), DecodeNetSkinData);
      break;
    case 21:
      RoundTrip(DecodeButtonText(b, n), DecodeButtonText);
      break;
    case 22:
      RoundTrip(DecodeNotice(b, n), DecodeNotice);
      break;
    case 23:
      RoundTrip(DecodeSeatFlags(b, n), DecodeSeatFlags);
      break;
    default:
      RoundTrip(DecodeHostName(b, n), DecodeHostName);
      break;
  }
  return 0;
}
