<?xml version="1.0" encoding="UTF-8"?>
<!-- as a feed carries them, with every form of normal play time -->
<psc:chapters version="1.2" xmlns:psc="http://podlove.org/simple-chapters">
  <psc:chapter start="0" title="Welcome"/>
  <psc:chapter start="3:07" title="Introducing Podlove" href="http://podlove.org/"/>
  <psc:chapter start="8:26.250" title="Tom &amp; Jerry &lt;live&gt;" image="http://example.org/a.jpg"/>
  <psc:note>not a chapter</psc:note>
  <psc:chapter start="01:01:30.5" title="Resum&#xE9;e" href="http://example.org/?a=1&amp;b=2" image="b.png"/>
  <psc:chapter start=" 01:01:31.0005 " title=""/>
  <psc:chapter start="01:01:32.00049"/>
</psc:chapters>
