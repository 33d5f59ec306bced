import sys
from jinja2 import Template
template = Template("""{% for t in tables %}public class Table{{ t }}
{
{% for f in fields %}    public string Field{{ f }} { get; set; }  // column {{ f }} of table {{ t }}
{% endfor %}}
{% endfor %}""")
sys.stdout.write(template.render(tables=range(1, 201), fields=range(1, 21)))
