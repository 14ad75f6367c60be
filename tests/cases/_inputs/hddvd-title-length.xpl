<?xml version="1.0" encoding="UTF-8"?>
<Playlist>
<TitleSet timeBase="60fps">
<Title titleNumber="1" titleDuration="00:30:00:00">
<ChapterList>
<Chapter displayName="Intro &amp; &quot;Titles&quot;" titleTimeBegin="00:00:00:00"/>
<Chapter titleTimeBegin="00:05:10:30" displayName="&#xDC;berfahrt &#8211; &lt;2&gt;"/>
<Chapter titleTimeBegin="00:20:00:59"/>
</ChapterList>
</Title>
</TitleSet>
</Playlist>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
<!-- padding: the last 1000 bytes are not chapter data ------------>
