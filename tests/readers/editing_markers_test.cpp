// The marker lists of editing software: failures that detection keeps a case from reaching.
#include <gtest/gtest.h>

#include "core/error.h"
#include "readers/fcpxml_reader.h"
#include "readers/premiere_markers_reader.h"
#include "readers/resolve_edl_reader.h"
#include "support/expect_throw_message.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;

TEST(EditingMarkers, ReadersNameTheFileAndTheCause) {
  ExpectThrowMessage<ReadError>(
      [] { ParsePremiereMarkers("Name\tIn\r\nA\t00:00:01:00\r\n", "m.csv", 25); },
      "m.csv: line 1: expected the header of a marker list");
  ExpectThrowMessage<ReadError>(
      [] { ParsePremiereMarkers("Marker Name\tIn\nA\n", "m.csv", 25); },
      "m.csv: line 2: expected an In timecode in field 2, found 1 fields");
  ExpectThrowMessage<ReadError>([] { ParsePremiereMarkers("\r\n", "m.csv", 25); },
                                "m.csv: no marker list found");
  ExpectThrowMessage<ReadError>([] { ParseFcpxml("<Chapters/>", "f.fcpxml"); },
                                "f.fcpxml: line 1: expected the root element fcpxml");
  ExpectThrowMessage<ReadError>([] { ParseFcpxml("<fcpxml><event/></fcpxml>", "f.fcpxml"); },
                                "f.fcpxml: no sequence found");
  ExpectThrowMessage<ReadError>([] { ParseFcpxml("<fcpxml><a></fcpxml>", "f.fcpxml"); },
                                "f.fcpxml: line 1: malformed XML");
  ExpectThrowMessage<ReadError>([] { ParseResolveEdl("TITLE: x\nFCM: HALF FRAME\n", "e.edl", 25); },
                                "e.edl: line 2: expected FCM: DROP FRAME or NON-DROP FRAME");
}

}  // namespace
}  // namespace markwright
