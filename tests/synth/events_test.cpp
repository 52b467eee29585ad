// The event set: ordering, due-time queries, consumption by stored reference.
#include "synth/events.h"

#include <gtest/gtest.h>

TEST(EventSet, OrderIsTypeThenTimeAndQueriesFindTheEarliestDue) {
    addSynthEvent(1, 3.0);
    addSynthEvent(1, 1.0);
    addSynthEvent(0, 7.0);
    addSynthEvent(0, 5.0);
    auto it = g_events.begin();
    EXPECT_EQ(it->time, 5.0);
    EXPECT_EQ((++it)->time, 7.0);
    EXPECT_EQ((++it)->type, 1u);
    EXPECT_EQ(getSynthEvent(0, 4.0), nullptr);
    EXPECT_EQ(getSynthEvent(1, 0.999), nullptr);
    ASSERT_NE(getSynthEvent(1, 1.0), nullptr); // due at or before: <=
    EXPECT_EQ(getSynthEvent(0, 6.0)->time, 5.0);
    const Event* e = getSynthEvent(1, 10.0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->time, 1.0);
    consumeSynthEvent(*e); // a reference into the set itself
    e = getSynthEvent(1, 10.0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->time, 3.0);
    consumeSynthEvent(*e);
    EXPECT_EQ(getSynthEvent(1, 1e9), nullptr);
    EXPECT_EQ(g_events.size(), 2u);
}

TEST(EventSet, DuplicatesCollapseAndMissingEventsConsumeNothing) {
    consumeSynthEvent(Event{1, 4.0}); // on an empty set
    addSynthEvent(1, 4.0);
    addSynthEvent(1, 4.0);
    EXPECT_EQ(g_events.size(), 1u);
    addSynthEvent(0, 4.0); // same time, other type: a distinct event
    EXPECT_EQ(g_events.size(), 2u);
    consumeSynthEvent(Event{1, 4.5});
    EXPECT_EQ(g_events.size(), 2u);
}

TEST(EventSet, TimeStampsAreSinglePrecisionFrameCounts) {
    EXPECT_EQ(eventTimeOfFrame(0), 0.0);
    EXPECT_EQ(eventTimeOfFrame(44100), 1.0);
    EXPECT_EQ(eventTimeOfFrame(2000), (double)(2000.0f / 44100.0f));
    EXPECT_NE(eventTimeOfFrame(2000), 2000.0 / 44100.0);
    // Above 2^24 frames the count itself rounds before the division.
    EXPECT_EQ(eventTimeOfFrame((1u << 24) + 1), eventTimeOfFrame(1u << 24));
}
