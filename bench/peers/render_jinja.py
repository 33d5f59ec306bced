import sys
from jinja2 import Template
template = Template("""{% for t in tables %}/// <summary>Entity class generated for table Table{{ t }}.</summary>
public class Table{{ t }}
{
{% for f in fields %}    /// <summary>Column {{ f }} of table Table{{ t }}.</summary>
    /// <remarks>Maps Table{{ t }}.Field{{ f }} to a text column.</remarks>
    [Column("TABLE{{ t }}_FIELD{{ f }}", Order = {{ f }})]
    private string field{{ f }};
    public string Field{{ f }}
    {
        get { return field{{ f }}; }
        set { field{{ f }} = value; }  // column {{ f }} of table {{ t }}
    }
{% endfor %}}
{% endfor %}""", keep_trailing_newline=True)
sys.stdout.write(template.render(tables=range(1, 201), fields=range(1, 21)))
