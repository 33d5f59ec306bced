local out = {}
for t = 1, 200 do
  out[#out + 1] = "public class Table" .. t .. "\n{\n"
  for f = 1, 20 do
    out[#out + 1] = "    public string Field" .. f .. " { get; set; }  // column " .. f .. " of table " .. t .. "\n"
  end
  out[#out + 1] = "}\n"
end
io.write(table.concat(out))
