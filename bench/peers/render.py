import sys
out = []
for t in range(1, 201):
    out.append("public class Table%d\n{\n" % t)
    for f in range(1, 21):
        out.append("    public string Field%d { get; set; }  // column %d of table %d\n" % (f, f, t))
    out.append("}\n")
sys.stdout.write("".join(out))
