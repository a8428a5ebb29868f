// Only a web address reaches the shell: each of these would open a program or a local file
// (the system's INI file exists, so a shell that got it would report success).
#include <gtest/gtest.h>

#include "OpenWebAddress.h"

namespace {

TEST(OpenWebAddress, RefusesWhatIsNotAWebAddress) {
  const char* const refused[] = {
      "C:\\windows\\win.ini",
      "file:///C:/windows/win.ini",
      "C:\\windows\\win.ini?http://example.test/",
      " http://example.test/",
      "javascript:open('http://example.test/')",
      "mailto:a@example.test",
      "http://",
      "",
  };
  for (const char* url : refused) EXPECT_FALSE(weburl::OpenWebAddress(url)) << url;
}

}  // namespace
