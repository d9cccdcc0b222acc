<?xml version="1.0"?>
<!-- The catalog benchmark's transform: the titles and prices of the books
     dearer than 30, as a small XML summary. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="xml" indent="yes"/>
  <xsl:template match="/">
    <summary>
      <xsl:for-each select="catalog/book[price &gt; 30]">
        <book id="{@id}" price="{price}"><xsl:value-of select="title"/></book>
      </xsl:for-each>
    </summary>
  </xsl:template>
</xsl:stylesheet>
