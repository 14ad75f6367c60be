<?xml version="1.0"?>
<ChapterList>
<ChapterList></ChapterList></ChapterList>
