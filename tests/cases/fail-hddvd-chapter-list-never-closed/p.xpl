<?xml version="1.0"?>
<ChapterList>
<Chapter titleTimeBegin="00:00:01:00" />
