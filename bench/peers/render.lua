local out = {}
for t = 1, 200 do
  out[#out + 1] = "/// <summary>Entity class generated for table Table" .. t .. ".</summary>\npublic class Table" .. t .. "\n{\n"
  for f = 1, 20 do
    out[#out + 1] = "    /// <summary>Column " .. f .. " of table Table" .. t .. ".</summary>\n"
      .. "    /// <remarks>Maps Table" .. t .. ".Field" .. f .. " to a text column.</remarks>\n"
      .. "    [Column(\"TABLE" .. t .. "_FIELD" .. f .. "\", Order = " .. f .. ")]\n"
      .. "    private string field" .. f .. ";\n"
      .. "    public string Field" .. f .. "\n    {\n"
      .. "        get { return field" .. f .. "; }\n"
      .. "        set { field" .. f .. " = value; }  // column " .. f .. " of table " .. t .. "\n    }\n"
  end
  out[#out + 1] = "}\n"
end
io.write(table.concat(out))
