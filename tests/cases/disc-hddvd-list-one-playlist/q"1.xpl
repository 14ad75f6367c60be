<?xml version="1.0" encoding="UTF-8"?>
<Playlist>
  <Title>
    <ChapterList>
      <Chapter titleTimeBegin="00:00:00:00" />
    </ChapterList>
  </Title>
  <Title>
    <ChapterList>
      <Chapter titleTimeBegin="00:00:00:00" />
      <Chapter titleTimeBegin="00:01:00:00" />
    </ChapterList>
  </Title>
</Playlist>
