"""The entities template of entities.ozra in Jinja2: the same model, the same
20 renders, the same bytes."""
import sys
from jinja2 import Environment


class Field:
    def __init__(self, name, type, nullable, length):
        self.name = name
        self.type = type
        self.nullable = nullable
        self.length = length


class Entity:
    def __init__(self, name):
        self.name = name
        self.fields = []


kinds = ["int", "string", "decimal", "date", "bool", "guid"]
entities = []
for t in range(1, 201):
    e = Entity("Customer%dRecord" % t)
    for f in range(1, 21):
        e.fields.append(Field("Field%dValue" % f, kinds[(t * 7 + f) % 6], (t + f) % 3 == 0, f * 10))
    entities.append(e)

source = """\
{%- macro type_of(field) -%}
{%- set type = field.type -%}
{%- if type == "int" %}{% set r = "int" -%}
{%- elif type == "string" %}{% set r = "string" -%}
{%- elif type == "decimal" %}{% set r = "decimal" -%}
{%- elif type == "date" %}{% set r = "DateTime" -%}
{%- elif type == "bool" %}{% set r = "bool" -%}
{%- else %}{% set r = "Guid" -%}
{%- endif -%}
{{ r }}{% if field.nullable and type != "string" %}?{% endif %}
{%- endmacro -%}
{%- macro camel(name) %}{{ name[:1]|lower }}{{ name[1:] }}{% endmacro -%}
{%- for round in range(20) -%}
{%- for e in entities -%}
/// <summary>Entity class generated for {{ e.name }}.</summary>
public partial class {{ e.name }}
{
{%- for f in e.fields %}
{%- set member = "_" ~ camel(f.name) %}
{%- set type = type_of(f) %}
    /// <summary>Gets or sets {{ f.name }} of {{ e.name }}.</summary>
    [Column("{{ e.name|upper }}_{{ f.name|upper }}", Order = {{ loop.index }}, Length = {{ f.length }})]
    public {{ type }} {{ f.name }}
    {
        get { return {{ member }}; }
        set { {{ member }} = value; }
    }
    private {{ type }} {{ member }};
{%- endfor %}
}
{% endfor -%}
{%- endfor -%}
"""
template = Environment(keep_trailing_newline=True).from_string(source)
sys.stdout.write(template.render(entities=entities))
