#pragma once

// Names as a service or a file may send them, holding markup, mnemonic marks and control
// characters: `xml` as it stands in an XML text, `shown` as every window must show it.
struct HostileName
{
    const char *xml;
    const char *shown;
};

inline constexpr HostileName hostileNames[] = {
    {"&lt;b&gt;R&amp;D&lt;/b&gt;", "<b>R&D</b>"},
    {"&amp;Tigers &amp;&amp; Co", "&Tigers && Co"},
    {"&lt;img src=x&gt;&lt;a href=\"x\"&gt;Link&lt;/a&gt;", "<img src=x><a href=\"x\">Link</a>"},
    {"&amp;amp; &amp;lt;i&amp;gt;", "&amp; &lt;i&gt;"},
    {"Tab&#9;Bell&#7;Esc&#27;", "Tab\tBell\aEsc\x1b"},
};
