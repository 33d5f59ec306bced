import sys
out = []
for t in range(1, 201):
    out.append("/// <summary>Entity class generated for table Table%d.</summary>\npublic class Table%d\n{\n" % (t, t))
    for f in range(1, 21):
        out.append("    /// <summary>Column %d of table Table%d.</summary>\n"
                   "    /// <remarks>Maps Table%d.Field%d to a text column.</remarks>\n"
                   "    [Column(\"TABLE%d_FIELD%d\", Order = %d)]\n"
                   "    private string field%d;\n"
                   "    public string Field%d\n    {\n"
                   "        get { return field%d; }\n"
                   "        set { field%d = value; }  // column %d of table %d\n    }\n"
                   % (f, t, t, f, t, f, f, f, f, f, f, f, t))
    out.append("}\n")
sys.stdout.write("".join(out))
