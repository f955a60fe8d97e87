#include "engine/network/EventNetwork.h"

#include <gtest/gtest.h>

#include "engine/network/EventNetworkAccept.h"
#include "engine/network/EventNetworkClose.h"
#include "tests/support/TestSupport.h"

TEST(EventNetwork, LabelOutsideRangeIsLoggedAndStoredAsUndefined) {
  tw_test::LogCapture log;
  const tw::EventNetwork undefined(-1);
  EXPECT_EQ(undefined.getLabel(), -1);
  EXPECT_TRUE(log.messages().empty());
  for (int label = 0; label <= 3; label++) EXPECT_EQ(tw::EventNetwork(label).getLabel(), label);

  const tw::EventNetwork seven(7);
  EXPECT_EQ(seven.getLabel(), -1);
  EXPECT_TRUE(log.contains("EventNetwork::setLabel(): Undefined type (7)."));
  tw::EventNetwork event(2);
  EXPECT_EQ(event.setLabel(-2), -1);
  EXPECT_EQ(event.getLabel(), -1);
  EXPECT_TRUE(log.contains("EventNetwork::setLabel(): Undefined type (-2)."));
}

TEST(EventNetwork, FreshEventsCarryTheirTypeAndAnEmptyPayload) {
  const tw::EventNetwork plain(1);
  EXPECT_EQ(plain.getType(), "tw-network");
  EXPECT_EQ(plain.getSocket(), -1);
  EXPECT_EQ(plain.getBytes(), 0);
  EXPECT_EQ(plain.getMessage(), nullptr);

  const tw::EventNetworkAccept accept;
  EXPECT_EQ(accept.getType(), "tw-network-accept");
  EXPECT_EQ(accept.getLabel(), 0);
  const tw::EventNetworkClose close;
  EXPECT_EQ(close.getType(), "tw-network-close");
  EXPECT_EQ(close.getLabel(), 2);
  EXPECT_EQ(tw::EventNetworkClose(9).getLabel(), -1);
}

TEST(EventNetwork, NegativeSizeIsRefused) {
  tw_test::LogCapture log;
  tw::EventNetwork event(1);
  const char text[] = "abc";
  event.setMessage(text);
  EXPECT_EQ(event.setBytes(3), 0);
  EXPECT_EQ(event.setBytes(-4), -1);
  EXPECT_EQ(event.getBytes(), 3);
  EXPECT_EQ(event.getMessage(), text);
  EXPECT_TRUE(log.contains("EventNetwork::setBytes(): Error! Negative size (-4)."));
}
