// WebDAV multistatus answers as servers spell them: any namespace prefixes, hrefs as paths or
// URLs with %-escapes, properties under a failed propstat.
#include "sync/Multistatus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

TEST(MultistatusTest, ReadsPropertiesByNamespaceAndOnlyUnderASuccessfulPropstat)
{
    const std::string xml = R"(<?xml version="1.0" encoding="utf-8"?>
<x:multistatus xmlns:x="DAV:" xmlns:cal="urn:ietf:params:xml:ns:caldav" xmlns:o="http://example.org/ns">
 <x:sync-token>token-2</x:sync-token>
 <x:response>
  <x:href>https://example.org/dav/%E4%BB%95%E4%BA%8B/a%20b.ics</x:href>
  <x:propstat><x:prop>
   <x:getetag> "e1" </x:getetag>
   <cal:calendar-data>BEGIN:VCALENDAR&#13;
END:VCALENDAR&#13;
</cal:calendar-data>
   <o:getetag>not this one</o:getetag>
  </x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat>
  <x:propstat><x:prop>
   <cal:supported-calendar-component-set/><x:current-user-principal><x:href>/p/</x:href></x:current-user-principal>
  </x:prop><x:status>HTTP/1.1 404 Not Found</x:status></x:propstat>
 </x:response>
 <x:response><x:href>/dav/gone.ics</x:href><x:status>HTTP/1.1 404 Not Found</x:status></x:response>
 <x:response><x:href>/dav/</x:href><x:propstat><x:prop>
  <x:resourcetype><x:collection/><cal:calendar/></x:resourcetype>
  <cal:supported-calendar-component-set><cal:comp name="VEVENT"/><cal:comp name="VTODO"/></cal:supported-calendar-component-set>
  <x:supported-report-set><x:supported-report><x:report><x:sync-collection/></x:report></x:supported-report>
   <x:supported-report><x:report><cal:calendar-multiget/></x:report></x:supported-report></x:supported-report-set>
  <cal:calendar-home-set><x:href>http://example.org/cal%20home/</x:href></cal:calendar-home-set>
 </x:prop><x:status>HTTP/1.1 200 OK</x:status></x:propstat></x:response>
</x:multistatus>)";

    const auto multistatus = ReadMultistatus(xml);

    ASSERT_TRUE(multistatus);
    EXPECT_EQ(multistatus->syncToken, "token-2");
    ASSERT_EQ(multistatus->responses.size(), 3u);
    const DavResponse& resource = multistatus->responses[0];
    EXPECT_EQ(resource.path, "/dav/仕事/a b.ics");
    EXPECT_EQ(resource.status, 0);
    EXPECT_EQ(resource.properties.etag, "\"e1\"");
    EXPECT_EQ(resource.properties.calendarData, "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    EXPECT_FALSE(resource.properties.components) << "a component set under 404 is no component set";
    EXPECT_EQ(resource.properties.principalPath, "");
    EXPECT_EQ(multistatus->responses[1].status, 404);
    const DavProperties& collection = multistatus->responses[2].properties;
    EXPECT_TRUE(collection.collection && collection.calendar);
    EXPECT_EQ(collection.components, (std::vector<std::string>{"VEVENT", "VTODO"}));
    EXPECT_EQ(collection.reports,
              (std::vector<std::string>{"{DAV:}sync-collection", "{urn:ietf:params:xml:ns:caldav}calendar-multiget"}));
    EXPECT_EQ(collection.calendarHomePath, "/cal home/");
}

TEST(MultistatusTest, RefusesWhatIsNoDavMultistatus)
{
    for (const char* xml :
         {"", "<multistatus xmlns=\"DAV:\"><response>", "<multistatus/>", "<multistatus xmlns=\"urn:other\"/>",
          "<error xmlns=\"DAV:\"><valid-sync-token/></error>"}) {
        EXPECT_FALSE(ReadMultistatus(xml)) << xml;
    }
    EXPECT_TRUE(ReadMultistatus("<d:multistatus xmlns:d=\"DAV:\"/>"));
}

TEST(MultistatusTest, PathsKeepOneSpellingAndCompareWithOrWithoutTheFinalSlash)
{
    EXPECT_EQ(EncodedPath("/dav/仕事/a b&c%.ics"), "/dav/%E4%BB%95%E4%BA%8B/a%20b&c%25.ics");
    EXPECT_EQ(DecodedHrefPath(EncodedPath("/dav/仕事/a b&c%.ics")), "/dav/仕事/a b&c%.ics");
    EXPECT_EQ(DecodedHrefPath("http://host:8080"), "/");
    EXPECT_EQ(DecodedHrefPath("/a/%zz%4"), "/a/%zz%4");
    EXPECT_TRUE(SamePath("/dav/tasks/", "/dav/tasks"));
    EXPECT_FALSE(SamePath("/dav/tasks/", "/dav/task"));
}

}  // namespace
}  // namespace dolvane
