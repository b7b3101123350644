-- expect: a nil value
package.path = "/tmp/?.lua"
